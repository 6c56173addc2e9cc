// Clock, threads and cues of the test harness (see virtual_platform.h).
#include "support/virtual_platform.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "game/platform.h"

namespace {

struct Harness {
  std::mutex mutex;
  std::condition_variable changed;
  uint64_t now = 0;        // virtual milliseconds since the reset
  uint32_t startTick = 0;  // tick count at virtual time 0
  uint64_t timeline = 0;   // bumped by each reset; sleepers of older timelines never wake
  // The threads asleep on this timeline: when each wakes, and which event it is.
  std::multimap<uint64_t, TimedEvent> deadlines;
  int running = 0;  // event threads neither asleep nor finished
  bool failStarts = false;
  std::set<TimedEvent> failingEvents;
  std::vector<TimedEvent> started;
  std::vector<CueRecord> cues;
};

// Never destroyed: retired event threads stay blocked on it until the process ends.
Harness& State() {
  static Harness* harness = new Harness;
  return *harness;
}

// A test that waits this long in real time for event threads has found a hang, not a slow box.
constexpr auto kSettleLimit = std::chrono::seconds(30);

void WaitUntilSettled(std::unique_lock<std::mutex>& lock) {
  Harness& h = State();
  if (!h.changed.wait_for(lock, kSettleLimit, [&] { return h.running == 0; })) {
    std::fprintf(stderr, "virtual platform: event threads did not settle\n");
    std::abort();
  }
}

const unsigned char kFakeWave[] = "RIFF";  // the sink never looks inside

// The event that the calling thread runs; set once, as the thread begins.
thread_local TimedEvent currentEvent = TimedEvent::RespawnEnemy;

}  // namespace

void ResetVirtualPlatform(uint32_t startTick) {
  Harness& h = State();
  std::unique_lock lock(h.mutex);
  WaitUntilSettled(lock);
  ++h.timeline;
  h.deadlines.clear();
  h.now = 0;
  h.startTick = startTick;
  h.failStarts = false;
  h.failingEvents.clear();
  h.started.clear();
  h.cues.clear();
}

uint64_t VirtualNow() {
  std::lock_guard lock(State().mutex);
  return State().now;
}

void AdvanceVirtualTime(uint64_t milliseconds) {
  Harness& h = State();
  std::unique_lock lock(h.mutex);
  WaitUntilSettled(lock);
  const uint64_t target = h.now + milliseconds;
  while (!h.deadlines.empty() && h.deadlines.begin()->first <= target) {
    h.now = h.deadlines.begin()->first;
    // Everyone due now counts as running from this moment, before they actually wake.
    while (!h.deadlines.empty() && h.deadlines.begin()->first <= h.now) {
      h.deadlines.erase(h.deadlines.begin());
      ++h.running;
    }
    h.changed.notify_all();
    WaitUntilSettled(lock);
  }
  h.now = target;
}

int SleepingEventThreads() {
  std::unique_lock lock(State().mutex);
  WaitUntilSettled(lock);  // a thread started a moment ago may not have reached its sleep yet
  return static_cast<int>(State().deadlines.size());
}

void FailThreadStarts(bool fail) {
  std::lock_guard lock(State().mutex);
  State().failStarts = fail;
}

void FailThreadStarts(TimedEvent event, bool fail) {
  std::lock_guard lock(State().mutex);
  if (fail) {
    State().failingEvents.insert(event);
  } else {
    State().failingEvents.erase(event);
  }
}

std::vector<TimedEvent> TakeStartedEvents() {
  std::lock_guard lock(State().mutex);
  std::vector<TimedEvent> events;
  events.swap(State().started);
  return events;
}

std::vector<TimedEvent> SleepingEvents() {
  std::unique_lock lock(State().mutex);
  WaitUntilSettled(lock);
  std::vector<TimedEvent> events;
  for (const auto& [deadline, event] : State().deadlines)
    events.push_back(event);
  // Threads due at the same time fall asleep in any order; the list's order is the same each run.
  std::sort(events.begin(), events.end());
  return events;
}

std::vector<CueRecord> TakeCueRecords() {
  std::lock_guard lock(State().mutex);
  std::vector<CueRecord> records;
  records.swap(State().cues);
  return records;
}

// ---- The platform seam -------------------------------------------------------------------------

uint32_t SysTickCount() {
  std::lock_guard lock(State().mutex);
  return State().startTick + static_cast<uint32_t>(State().now);
}

void SysSleep(uint32_t milliseconds) {
  Harness& h = State();
  std::unique_lock lock(h.mutex);
  const uint64_t timeline = h.timeline;
  const uint64_t deadline = h.now + milliseconds;
  h.deadlines.emplace(deadline, currentEvent);
  --h.running;
  h.changed.notify_all();
  h.changed.wait(lock, [&] { return h.timeline == timeline && h.now >= deadline; });
}

void SysStartThread(TimedEvent event, EventRoutine routine, GameWorld& world, int32_t argument) {
  Harness& h = State();
  {
    std::lock_guard lock(h.mutex);
    if (h.failStarts || h.failingEvents.contains(event)) return;
    ++h.running;
  }
  try {
    std::thread([event, routine, &world, argument] {
      currentEvent = event;
      routine(world, argument);
      Harness& h = State();
      std::lock_guard lock(h.mutex);
      --h.running;
      h.changed.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    std::lock_guard lock(h.mutex);
    --h.running;
    return;
  }
  std::lock_guard lock(h.mutex);
  h.started.push_back(event);
}

CueWave SysFindCue(CueId cue) {
  if (cue != IDR_WAVE_EXPLOSION && cue != IDR_WAVE_BOSS_HIT && cue != IDR_WAVE_BOSS_RAGE) {
    return {};
  }
  std::lock_guard lock(State().mutex);
  State().cues.push_back({cue, false});
  // The handle carries the record's place, so SysStartCue can mark it played.
  return {kFakeWave, sizeof kFakeWave, reinterpret_cast<void*>(State().cues.size())};
}

void SysStartCue(const CueWave& wave) {
  std::lock_guard lock(State().mutex);
  const auto place = reinterpret_cast<size_t>(wave.handle);
  if (place >= 1 && place <= State().cues.size()) State().cues[place - 1].played = true;
}

void SysReleaseCue(const CueWave&) {}
