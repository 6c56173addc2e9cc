// The clock, the sleep and the event threads of the Linux program, from the standard library.
#include <chrono>
#include <functional>
#include <system_error>
#include <thread>

#include "game/platform.h"
#include "shell/sdl/sdl_shell.h"

uint64_t MonotonicMs() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

uint32_t SysTickCount() {
  // Cut to 32 bits: it wraps past zero as GetTickCount does, and the rules only take differences.
  return static_cast<uint32_t>(MonotonicMs());
}

void SysSleep(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SysStartThread(TimedEvent, EventRoutine routine, GameWorld& world, int32_t argument) {
  try {
    std::thread(routine, std::ref(world), argument).detach();
  } catch (const std::system_error&) {
    // No thread: the event does not happen, and nothing is reported.
  }
}
