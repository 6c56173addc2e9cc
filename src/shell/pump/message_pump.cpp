// The message pump's rules: paints ahead of ticks, merged repaint requests, one tick however many
// periods were missed.
#include "shell/pump/message_pump.h"

namespace {

// The first point of the grid due + k * period that lies after `now`; due <= now.
uint64_t NextGridPoint(uint64_t due, uint64_t period, uint64_t now) {
  return due + ((now - due) / period + 1) * period;
}

}  // namespace

void SetPumpTimers(MessagePump& pump, uint64_t now) {
  pump.timersSet = true;
  pump.controlsDue = now + kControlsPeriodMs;
  pump.scrollDue = now + kScrollPeriodMs;
}

void RequestRepaint(MessagePump& pump) {
  pump.paintPending = true;
}

PumpStep NextPumpStep(MessagePump& pump, uint64_t now) {
  if (pump.paintPending) {
    pump.paintPending = false;
    return {PumpStepKind::Paint, now};
  }
  if (!pump.timersSet) return {PumpStepKind::Wait, UINT64_MAX};
  const bool controlsDue = pump.controlsDue <= now;
  const bool scrollDue = pump.scrollDue <= now;
  if (controlsDue && (!scrollDue || pump.controlsDue <= pump.scrollDue)) {
    pump.controlsDue = NextGridPoint(pump.controlsDue, kControlsPeriodMs, now);
    return {PumpStepKind::ControlsTick, now};
  }
  if (scrollDue) {
    pump.scrollDue = NextGridPoint(pump.scrollDue, kScrollPeriodMs, now);
    return {PumpStepKind::ScrollTick, now};
  }
  const uint64_t next = pump.controlsDue < pump.scrollDue ? pump.controlsDue : pump.scrollDue;
  return {PumpStepKind::Wait, next};
}
