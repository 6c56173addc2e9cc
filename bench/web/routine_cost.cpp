// What timed events cost the page: many routines alive at once as fibers under Asyncify, as a
// burst of hits starts them. Run under Node by scripts/bench-web.
//
// For each count, what starting, sleeping, waking and ending that many routines costs, and what a
// page turn costs while they all sleep; also the memory each alive routine holds.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <memory>

#include "game/events.h"
#include "game/world.h"
#include "shell/web/web_shell.h"

namespace {

double NowUs() {
  return emscripten_get_now() * 1000.0;
}

// `count` RestoreBoss events (each sleeps 300 ms, writes the boss's picture and ends), measured
// in four phases: their starts; the page's pass that runs each up to its sleep; page turns while
// all of them sleep; and the pass that wakes and ends them all.
void Measure(GameWorld& world, int count, const char* records) {
  const double start = NowUs();
  for (int i = 0; i < count; ++i)
    RestoreBossLater(world);
  const double started = NowUs();
  RunDueRoutines(PageNowMs());
  const double asleep = NowUs();
  const int alive = AliveRoutines();
  constexpr int kIdleTurns = 1000;
  for (int i = 0; i < kIdleTurns; ++i)
    RunDueRoutines(PageNowMs());
  const double idle = NowUs();
  const uint64_t last = PageNowMs() + 301;
  while (PageNowMs() < last) {
  }
  const double wake = NowUs();
  RunDueRoutines(PageNowMs());
  const double done = NowUs();
  std::printf(
      "%5d routines (%s): start %.2f us, run to its sleep %.2f us, wake and end %.2f us each; "
      "a page turn with %d asleep %.3f us; %d left\n",
      count, records, (started - start) / count, (asleep - started) / count, (done - wake) / count,
      alive, (idle - asleep) / kIdleTurns, AliveRoutines());
}

}  // namespace

int main() {
  auto world = std::make_unique<GameWorld>();
  ResetWorld(*world);
  for (const int count : {10, 100, 1000}) {
    Measure(*world, count, "new records");
    Measure(*world, count, "records reused");
  }
  std::printf("memory: %d bytes a routine alive (its record and stacks), kept for reuse\n",
              RoutineFootprint());
  return 0;
}
