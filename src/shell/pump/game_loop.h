// The game window on the message pump, without a platform: the one loop that the Linux program,
// the browser page and the headless tests all run.
//
// It does what the Windows game window's procedure does. Creation resets the world, sets the two
// timers, starts the level-flight loop and asks for the first paint. Each controls tick polls the
// held arrow keys and each scroll tick scrolls the background; both ask for a repaint. Each paint
// runs exactly one frame, so the game moves at the pace of its paints. A shell feeds it input and
// the time, paints when it is told to and waits when it is told to.
#pragma once

#include <cstdint>

#include "game/flyer.h"
#include "game/world.h"
#include "shell/pump/message_pump.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"

struct GameLoop {
  GameWorld* world = nullptr;
  ResourceTable resources;  // where each frame's pictures come from
  MessagePump pump;
  bool minimised = false;  // a minimised window (a hidden tab) drops its repaint requests
  int64_t frames = 0;      // frames run so far
};

enum class LoopStepKind : uint8_t {
  Paint,  // call PaintGameFrame, then step again
  Tick,   // a tick ran: take the input that is waiting, then step again
  Wait,   // nothing to do before waitUntil, or before new input
};

struct LoopStep {
  LoopStepKind kind;
  uint64_t waitUntil;  // for Wait: when the next tick is due (UINT64_MAX: never)
};

// The window's creation steps at `now` (milliseconds on the shell's monotonic clock): the world
// reset, both timers set, the level-flight loop started, and a repaint asked for, since the
// window has just been shown.
void OpenGameLoop(GameLoop& loop, GameWorld& world, ResourceTable resources, uint64_t now);

// The window was exposed, resized or restored: it needs a repaint. Requests merge until the next
// paint; while the window is minimised they are dropped.
void RequestLoopRepaint(GameLoop& loop);

// A space key-down, auto-repeats included, fires at once. With Alt held it is the window menu's
// key on Windows and fires nothing. Other keys act only through the controls tick.
void SpaceKeyDown(GameLoop& loop, bool altHeld);

// Takes the next step at `now`: a pending paint first (the shell paints it), else the next due
// tick, run here (the controls tick polls `held`), else a wait. The shell takes waiting input
// between steps, so that, as in a window's queue, input comes ahead of the paint a tick asked for.
LoopStep StepGameLoop(GameLoop& loop, uint64_t now, ArrowKeys held);

// One paint: one frame of the game on a fresh software canvas, composed into `backBuffer`, which
// the shell then shows.
void PaintGameFrame(GameLoop& loop, BackBuffer& backBuffer);
