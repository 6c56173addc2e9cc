// The clock and the threads of the timed events: GetTickCount, Sleep, and CreateThread with the
// handle closed at once, so no one ever waits for or stops an event.
#include <new>

#include "game/platform.h"
#include "shell/win32/win32_shell.h"

namespace {

// What a new event thread needs; made by the starter, freed by the thread before the event runs.
struct EventStart {
  EventRoutine routine;
  GameWorld* world;
  int32_t argument;
};

DWORD WINAPI RunEvent(LPVOID parameter) {
  const EventStart start = *static_cast<EventStart*>(parameter);
  delete static_cast<EventStart*>(parameter);
  start.routine(*start.world, start.argument);
  return 0;
}

}  // namespace

uint32_t SysTickCount() {
  return GetTickCount();
}

void SysSleep(uint32_t milliseconds) {
  Sleep(milliseconds);
}

void SysStartThread(TimedEvent, EventRoutine routine, GameWorld& world, int32_t argument) {
  EventStart* start = new (std::nothrow) EventStart{routine, &world, argument};
  if (start == nullptr) return;  // the event does not happen
  HANDLE thread = CreateThread(nullptr, 0, RunEvent, start, 0, nullptr);
  if (thread == nullptr) {
    delete start;  // nor here; nothing is reported
    return;
  }
  CloseHandle(thread);
}
