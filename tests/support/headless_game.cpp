#include "support/headless_game.h"

#include <algorithm>

#include "support/virtual_platform.h"

namespace {

// The game loop until `until`, or until `stop` holds after a frame.
void Step(HeadlessGame& game, uint64_t until, const std::function<bool()>& stop) {
  while (VirtualNow() < until) {
    const LoopStep step = StepGameLoop(game.loop, VirtualNow(), game.held);
    if (step.kind == LoopStepKind::Tick) continue;
    if (step.kind == LoopStepKind::Wait) {
      AdvanceVirtualTime(std::min(step.waitUntil, until) - VirtualNow());
      continue;
    }
    if (game.beforeFrame) game.beforeFrame(game);
    PaintGameFrame(game.loop, *game.frame);
    if (game.afterFrame) game.afterFrame(game);
    AdvanceVirtualTime(game.frameCostMs);
    if (stop && stop()) return;
  }
}

}  // namespace

void OpenGameWindow(HeadlessGame& game, ResourceTable pictures) {
  OpenGameLoop(game.loop, *game.world, pictures, VirtualNow());
}

void RunGameFor(HeadlessGame& game, uint64_t milliseconds) {
  Step(game, VirtualNow() + milliseconds, nullptr);
}

void PressSpace(HeadlessGame& game, bool altHeld) {
  SpaceKeyDown(game.loop, altHeld);
}

bool RunGameUntil(HeadlessGame& game, const std::function<bool(const HeadlessGame&)>& done,
                  uint64_t limitMs) {
  bool held = false;
  Step(game, VirtualNow() + limitMs, [&] { return held = done(game); });
  return held;
}
