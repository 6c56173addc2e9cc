// The test harness's platform: a virtual millisecond clock, real event threads that sleep on it,
// known by the timed event each one runs (to observe it, or to fail its start), and a cue sink
// that records what the rules asked to play.
//
// A test moves virtual time deadline by deadline; after each step it waits until every event
// thread is asleep again or has finished, so what it then sees of the world is deterministic.
#pragma once

#include <cstdint>
#include <vector>

#include "game/platform.h"
#include "game/world.h"

// Starts a fresh virtual timeline at tick count `startTick`. Event threads of earlier timelines
// that still sleep never wake again, so a test may drop the world they hold.
void ResetVirtualPlatform(uint32_t startTick = 0);

// The virtual time since the last reset, in milliseconds, and the tick count the game sees.
uint64_t VirtualNow();

// Moves virtual time forward by `milliseconds`, waking sleepers in deadline order and letting
// each wave of woken threads settle before the next.
void AdvanceVirtualTime(uint64_t milliseconds);

// How many event threads are asleep on the virtual clock, counted once every event thread just
// started has reached its sleep or finished.
int SleepingEventThreads();

// While set, starting an event thread fails, as it may when the system is out of threads.
void FailThreadStarts(bool fail);

// While set, starting a thread for `event` fails, and only for it: the other events start.
void FailThreadStarts(TimedEvent event, bool fail);

// Every timed event whose thread started since the last call (or reset), in the order the rules
// started them. A start that failed is not among them.
std::vector<TimedEvent> TakeStartedEvents();

// The timed events asleep on the virtual clock, in the order of the TimedEvent list, once every
// event thread just started has reached its sleep or finished.
std::vector<TimedEvent> SleepingEvents();

struct CueRecord {
  CueId cue;
  bool played;  // false: asked for while the boss was enraged
};

// Every cue the rules asked for since the last call (or reset), in order.
std::vector<CueRecord> TakeCueRecords();
