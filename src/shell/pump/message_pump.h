// The game window's message pump, without a platform: given the time, it says what comes next.
//
// A Windows game window is paced by its message queue: two timers (30 ms for the controls, 50 ms
// for the scroll), repaint requests that merge until the next paint, and paints served ahead of
// timer messages. The Linux program has no such queue, so it asks this pump instead; the tests ask
// it too, on a virtual clock. Everything runs on the one user-interface thread: the caller takes a
// step, does its work (a frame, a tick), and asks again.
//
// Times are milliseconds on a 64-bit monotonic clock that never wraps.
#pragma once

#include <cstdint>

#include "game/pace.h"  // kControlsPeriodMs, kScrollPeriodMs

enum class PumpStepKind : uint8_t {
  Paint,         // run one frame and present it
  ControlsTick,  // the 30 ms controls timer (IDT_CONTROLS) fired
  ScrollTick,    // the 50 ms scroll timer (IDT_SCROLL) fired
  Wait,          // nothing to do before waitUntil (or before new input or a repaint request)
};

struct PumpStep {
  PumpStepKind kind;
  uint64_t waitUntil;  // for Wait: the earliest due time of the two timers
};

struct MessagePump {
  bool timersSet = false;
  uint64_t controlsDue = 0;  // when IDT_CONTROLS fires next
  uint64_t scrollDue = 0;    // when IDT_SCROLL fires next
  bool paintPending = false;
};

// Sets both timers at `now`, as the game window's creation does: the first ticks come one period
// later.
void SetPumpTimers(MessagePump& pump, uint64_t now);

// A repaint request (a tick's, or the window being exposed, resized or restored). Requests merge:
// however many come before the next paint, that paint runs one frame.
void RequestRepaint(MessagePump& pump);

// Takes the next step at `now` and returns it: a pending paint first, then a due timer, else a
// wait.
//
// A timer is due once `now` has reached its due time. Each timer keeps the grid it was set on (due
// at set + k * period): taking its tick moves its due time to the first grid point after `now`. So
// when the thread was busy for several periods, the timer gives one tick, not one per period, and
// then goes on in step with its grid; a slow wake-up never stretches the period. When both timers
// are due, the one due earlier fires first; at the same due time IDT_CONTROLS goes first.
PumpStep NextPumpStep(MessagePump& pump, uint64_t now);
