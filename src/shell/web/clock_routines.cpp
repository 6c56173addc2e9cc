// The clock, the sleep and the timed events of the browser page: routines as fibers, one thread.
//
// A page has no threads to spare (a threaded build needs cross-origin isolation, which a plain
// static server does not give), so each SysStartThread routine runs as an emscripten fiber under
// Asyncify: it has its own small C stack and its own Asyncify stack, and SysSleep records its
// deadline and swaps back to the page's fiber. The page's entry functions resume the routines
// that are due before they take input or paint, so a routine's writes show in the next frame, as
// they would from a thread that woke in time.
//
// Cost: a routine alive is one Fiber record (about 10 KiB, mostly its two stacks) and one entry
// in a heap of deadlines; resuming it is one Asyncify rewind and one unwind of its short stack. A
// finished routine's record is kept for the next one, so a burst of hits allocates once.
#include <emscripten/emscripten.h>
#include <emscripten/fiber.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "game/platform.h"
#include "shell/web/web_shell.h"

namespace {

// A routine's frames: RoutineEntry, the event's body, SysSleep or PlayCue and one page call. The
// C stack holds only what the compiler could not keep in WebAssembly locals; the Asyncify stack
// holds those locals while the routine sleeps.
constexpr size_t kRoutineCStack = 8 * 1024;
constexpr size_t kRoutineAsyncifyStack = 2 * 1024;
constexpr size_t kPageAsyncifyStack = 16 * 1024;  // the page's own frames while a routine runs

struct Routine {
  emscripten_fiber_t fiber;
  EventRoutine body = nullptr;
  GameWorld* world = nullptr;
  int32_t argument = 0;
  TimedEvent event = TimedEvent::LevelFlight;
  uint64_t startedAt = 0;  // when SysStartThread was called: the base of its first sleep
  uint64_t due = 0;        // when it is to run next
  bool slept = false;      // it has been to sleep at least once
  bool finished = false;
  alignas(16) unsigned char cStack[kRoutineCStack];
  alignas(16) unsigned char asyncifyStack[kRoutineAsyncifyStack];
};

emscripten_fiber_t pageFiber;
alignas(16) unsigned char pageAsyncifyStack[kPageAsyncifyStack];
bool pageFiberReady = false;

Routine* running = nullptr;      // the routine on the CPU now, if any
std::vector<Routine*> sleepers;  // a heap on `due`, earliest on top
std::vector<Routine*> spares;    // finished routines, ready for the next start
int alive = 0;

bool LaterDue(const Routine* a, const Routine* b) {
  return a->due > b->due;
}

void Schedule(Routine* routine) {
  sleepers.push_back(routine);
  std::push_heap(sleepers.begin(), sleepers.end(), LaterDue);
}

// A fiber's entry: the body, then back to the page for good; a fiber's entry must not return.
// Its record goes back to the spares once the page has left its stack.
void RoutineEntry(void* argument) {
  auto* routine = static_cast<Routine*>(argument);
  routine->body(*routine->world, routine->argument);
  routine->finished = true;
  emscripten_fiber_swap(&routine->fiber, &pageFiber);
}

}  // namespace

uint64_t PageNowMs() {
  return static_cast<uint64_t>(std::floor(emscripten_get_now()));
}

void RunDueRoutines(uint64_t now) {
  if (running != nullptr) return;  // never from inside a routine
  if (!pageFiberReady) {
    emscripten_fiber_init_from_current_context(&pageFiber, pageAsyncifyStack,
                                               sizeof pageAsyncifyStack);
    pageFiberReady = true;
  }
  while (!sleepers.empty() && sleepers.front()->due <= now) {
    std::pop_heap(sleepers.begin(), sleepers.end(), LaterDue);
    Routine* routine = sleepers.back();
    sleepers.pop_back();
    running = routine;
    emscripten_fiber_swap(&pageFiber, &routine->fiber);  // back at its sleep or its end
    running = nullptr;
    if (routine->finished) {
      --alive;
      spares.push_back(routine);
    }
  }
}

uint64_t NextRoutineDue() {
  return sleepers.empty() ? UINT64_MAX : sleepers.front()->due;
}

int AliveRoutines() {
  return alive;
}

int RoutineFootprint() {
  return static_cast<int>(sizeof(Routine));
}

// ---- The platform seam -------------------------------------------------------------------------

uint32_t SysTickCount() {
  // Cut to 32 bits as GetTickCount is; the rules only take differences.
  return static_cast<uint32_t>(PageNowMs());
}

void SysSleep(uint32_t milliseconds) {
  Routine* routine = running;
  if (routine == nullptr) return;  // outside a routine the page cannot wait
  // A routine starts on the page's next pass, not at once as a thread would; its first sleep
  // counts from its start, so the delay of an event is as the rules say.
  const uint64_t from = routine->slept ? PageNowMs() : routine->startedAt;
  routine->slept = true;
  routine->due = from + std::max<uint32_t>(milliseconds, 1);  // a sleep always yields
  Schedule(routine);
  emscripten_fiber_swap(&routine->fiber, &pageFiber);
}

void SysStartThread(TimedEvent event, EventRoutine routine, GameWorld& world, int32_t argument) {
  Routine* fresh = nullptr;
  if (!spares.empty()) {
    fresh = spares.back();
    spares.pop_back();
  } else {
    fresh = new (std::nothrow) Routine;
    if (fresh == nullptr) return;  // no memory: the event does not happen
  }
  fresh->body = routine;
  fresh->world = &world;
  fresh->argument = argument;
  fresh->event = event;
  fresh->startedAt = PageNowMs();
  fresh->due = fresh->startedAt;  // runs on the page's next pass, up to its first sleep
  fresh->slept = false;
  fresh->finished = false;
  emscripten_fiber_init(&fresh->fiber, RoutineEntry, fresh, fresh->cStack, sizeof fresh->cStack,
                        fresh->asyncifyStack, sizeof fresh->asyncifyStack);
  ++alive;
  Schedule(fresh);
}
