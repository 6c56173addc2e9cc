// The browser page's shell: what its files share.
//
// The page runs on the browser's one thread. The page's script (page.js) calls the game's entry
// functions on timers and on input; the timed events run as fibers that only those entry
// functions resume. Nothing here blocks: a wait is a timer the script sets.
#pragma once

#include <cstdint>

#include "shell/soft/soft_canvas.h"

// Milliseconds of the page's monotonic clock (performance.now): the pump's time, and the tick
// count's source.
uint64_t PageNowMs();

// Copies a finished frame to the page's 800 x 600 canvas (id "scene") at 1:1.
void ShowFrame(const BackBuffer& frame);

// Resumes every timed-event routine whose sleep is over at `now`, earliest deadline first, each
// until its next sleep or its end. Called only from the game's entry functions, never from
// inside a routine.
void RunDueRoutines(uint64_t now);

// When the earliest sleeping routine is due; UINT64_MAX when none sleeps.
uint64_t NextRoutineDue();

// How many routines are alive (asleep, or started and not yet run).
int AliveRoutines();

// Bytes each alive routine holds: its record with its two stacks.
int RoutineFootprint();
