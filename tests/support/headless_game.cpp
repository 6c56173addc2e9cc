#include "support/headless_game.h"

#include <algorithm>

#include "game/events.h"
#include "game/frame.h"
#include "support/game_fixture.h"
#include "support/virtual_platform.h"

namespace {

// The game window's message loop until `until`, or until `stop` holds after a frame.
void Step(HeadlessGame& game, uint64_t until, const std::function<bool()>& stop) {
  while (VirtualNow() < until) {
    const PumpStep step = NextPumpStep(game.pump, VirtualNow());
    switch (step.kind) {
      case PumpStepKind::Paint:
        if (game.beforeFrame) game.beforeFrame(game);
        RenderFrame(*game.world, game.pictures, *game.frame);
        ++game.frames;
        if (game.afterFrame) game.afterFrame(game);
        AdvanceVirtualTime(game.frameCostMs);
        if (stop && stop()) return;
        break;
      case PumpStepKind::ControlsTick:
        PollControls(*game.world, game.held);
        RequestRepaint(game.pump);
        break;
      case PumpStepKind::ScrollTick:
        ScrollBackground(*game.world);
        RequestRepaint(game.pump);
        break;
      case PumpStepKind::Wait:
        AdvanceVirtualTime(std::min(step.waitUntil, until) - VirtualNow());
        break;
    }
  }
}

}  // namespace

void OpenGameWindow(HeadlessGame& game, ResourceTable pictures) {
  game.pictures = pictures;
  ResetWorld(*game.world);
  SetPumpTimers(game.pump, VirtualNow());
  LevelFlightLoop(*game.world);
  RequestRepaint(game.pump);  // the window is shown
}

void RunGameFor(HeadlessGame& game, uint64_t milliseconds) {
  Step(game, VirtualNow() + milliseconds, nullptr);
}

void PressSpace(HeadlessGame& game) {
  FireBullet(*game.world);
}

bool RunGameUntil(HeadlessGame& game, const std::function<bool(const HeadlessGame&)>& done,
                  uint64_t limitMs) {
  bool held = false;
  Step(game, VirtualNow() + limitMs, [&] { return held = done(game); });
  return held;
}
