// The browser page's game: the game loop on the page's timers, keys and visibility.
//
// main runs the game window's creation steps and hands over to page.js, which calls the entry
// functions below: web_turn on a timer, the key and focus functions on the page's events.
// web_turn and the space key first resume the timed events that are due, as threads that woke in
// time would have run before the paint or the shot; the arrows only set what the next controls
// tick will see.
//
// Pacing: timers, not animation frames. The game's pace is the message pump's (a 30 ms controls
// tick, a 50 ms scroll tick, merged repaints, one frame a paint), so the page sleeps exactly until
// the pump's next due tick or the next routine's deadline, as the Linux program's event wait does,
// and paints as soon as the pump says so; the browser shows the canvas on its next refresh.
// Animation frames would run at the display's rate (60 to 144 a second), waking the page twice as
// often as the game has frames for nothing, and they stop altogether in a hidden tab, where the
// game's clock and its timed events must go on; timers go on there too (the browser slows them to
// about one a second, and the pump then gives one tick a timer, as a busy Windows queue does).
#include <emscripten/emscripten.h>

#include <algorithm>

#include "game/flyer.h"
#include "game/world.h"
#include "shell/pump/game_loop.h"
#include "shell/web/web_shell.h"

namespace {

// The one world of the page, alive until the page closes; the routines hold it too.
GameWorld gameWorld;
BackBuffer backBuffer;
GameLoop gameLoop;

// The arrow keys as the page's key-downs and key-ups leave them.
ArrowKeys heldArrows;

// When web_turn wants to run next, on the page's clock.
uint64_t nextTurnAt = 0;

// Arrow numbers as page.js passes them.
enum PageArrow : int { kArrowUp = 0, kArrowDown = 1, kArrowLeft = 2, kArrowRight = 3 };

// page.js's loop, started once the game window exists.
EM_JS(void, StartPageLoop, (), { Module.page.start(); });

}  // namespace

extern "C" {

// Due routines, then one step of the game loop: a paint, a tick, or the time to wait. After a
// paint or a tick the next turn comes right away, once the page has had its input, so that input
// waiting behind a tick comes ahead of the paint it asked for, as in a window's queue.
EMSCRIPTEN_KEEPALIVE void web_turn() {
  RunDueRoutines(PageNowMs());
  const uint64_t now = PageNowMs();
  const LoopStep step = StepGameLoop(gameLoop, now, heldArrows);
  if (step.kind == LoopStepKind::Tick) {
    nextTurnAt = 0;
    return;
  }
  if (step.kind == LoopStepKind::Paint) {
    PaintGameFrame(gameLoop, backBuffer);
    ShowFrame(backBuffer);
    RunDueRoutines(PageNowMs());
    nextTurnAt = 0;
    return;
  }
  nextTurnAt = std::min(step.waitUntil, NextRoutineDue());
}

// Milliseconds until web_turn wants to run, 0 when it is due now; at most a minute.
EMSCRIPTEN_KEEPALIVE int web_wait_ms() {
  const uint64_t now = PageNowMs();
  if (nextTurnAt <= now) return 0;
  return static_cast<int>(std::min<uint64_t>(nextTurnAt - now, 60000));
}

// A space key-down, auto-repeats included; with Alt held it fires nothing.
EMSCRIPTEN_KEEPALIVE void web_space_down(int altHeld) {
  RunDueRoutines(PageNowMs());
  SpaceKeyDown(gameLoop, altHeld != 0);
}

// An arrow key went down (down = 1) or up (0); the next controls tick sees it.
EMSCRIPTEN_KEEPALIVE void web_arrow(int arrow, int down) {
  const bool held = down != 0;
  switch (arrow) {
    case kArrowUp:
      heldArrows.up = held;
      break;
    case kArrowDown:
      heldArrows.down = held;
      break;
    case kArrowLeft:
      heldArrows.left = held;
      break;
    case kArrowRight:
      heldArrows.right = held;
      break;
    default:
      break;
  }
}

// The page lost the keyboard: whatever was held counts as released, since its key-ups will
// never arrive.
EMSCRIPTEN_KEEPALIVE void web_release_keys() {
  heldArrows = {};
}

// The tab was hidden (0) or shown again (1): a hidden tab paints nothing, as a minimised window;
// shown again, it needs a repaint.
EMSCRIPTEN_KEEPALIVE void web_visible(int visible) {
  gameLoop.minimised = visible == 0;
  if (visible != 0) RequestLoopRepaint(gameLoop);
}

}  // extern "C"

int main() {
  OpenGameLoop(gameLoop, gameWorld, kGameResources, PageNowMs());
  StartPageLoop();
  return 0;
}
