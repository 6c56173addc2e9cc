// The message pump: paints ahead of ticks, merged repaint requests, one tick for missed periods,
// and the frame rate that follows from them on a virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "shell/pump/message_pump.h"

namespace {

using Kind = PumpStepKind;

// Takes steps at `now` until the pump says Wait; returns the kinds taken, the wait last.
std::vector<Kind> StepsAt(MessagePump& pump, uint64_t now, uint64_t* waitUntil = nullptr) {
  std::vector<Kind> kinds;
  for (;;) {
    const PumpStep step = NextPumpStep(pump, now);
    kinds.push_back(step.kind);
    if (step.kind == Kind::Wait) {
      if (waitUntil) *waitUntil = step.waitUntil;
      return kinds;
    }
  }
}

TEST(PumpTest, TimersFireOnePeriodAfterTheyAreSetAndNotBefore) {
  MessagePump pump;
  uint64_t until = 0;
  EXPECT_EQ(StepsAt(pump, 0, &until), std::vector<Kind>{Kind::Wait}) << "no timers yet";
  SetPumpTimers(pump, 1000);
  EXPECT_EQ(StepsAt(pump, 1029, &until), std::vector<Kind>{Kind::Wait});
  EXPECT_EQ(until, 1030u);
  EXPECT_EQ(StepsAt(pump, 1030, &until), (std::vector<Kind>{Kind::ControlsTick, Kind::Wait}));
  EXPECT_EQ(until, 1050u);
  EXPECT_EQ(StepsAt(pump, 1050, &until), (std::vector<Kind>{Kind::ScrollTick, Kind::Wait}));
  EXPECT_EQ(until, 1060u);
}

TEST(PumpTest, APendingPaintComesBeforeEveryDueTick) {
  MessagePump pump;
  SetPumpTimers(pump, 0);
  RequestRepaint(pump);
  // At 100 both timers are overdue; the paint still goes first, and the earlier-due timer next.
  EXPECT_EQ(StepsAt(pump, 100),
            (std::vector<Kind>{Kind::Paint, Kind::ControlsTick, Kind::ScrollTick, Kind::Wait}));

  // A tick's own repaint request is served before the other timer's tick.
  MessagePump busy;
  SetPumpTimers(busy, 0);
  std::vector<Kind> kinds;
  for (PumpStep step = NextPumpStep(busy, 100); step.kind != Kind::Wait;
       step = NextPumpStep(busy, 100)) {
    kinds.push_back(step.kind);
    if (step.kind != Kind::Paint) RequestRepaint(busy);
  }
  EXPECT_EQ(kinds,
            (std::vector<Kind>{Kind::ControlsTick, Kind::Paint, Kind::ScrollTick, Kind::Paint}));
}

TEST(PumpTest, RepaintRequestsMergeUntilThePaint) {
  MessagePump pump;
  SetPumpTimers(pump, 0);
  // Ticks, an expose and a resize before the next paint: one frame for all of them.
  for (int i = 0; i < 4; ++i)
    RequestRepaint(pump);
  EXPECT_EQ(StepsAt(pump, 10), (std::vector<Kind>{Kind::Paint, Kind::Wait}));
  EXPECT_EQ(StepsAt(pump, 11), std::vector<Kind>{Kind::Wait}) << "the request was used up";
  // A request after the paint is a new one, and a request alone runs a frame, no tick needed.
  RequestRepaint(pump);
  EXPECT_EQ(StepsAt(pump, 12), (std::vector<Kind>{Kind::Paint, Kind::Wait}));
}

TEST(PumpTest, PeriodsMissedWhileBusyGiveOneTickAndKeepTheGrid) {
  MessagePump pump;
  SetPumpTimers(pump, 0);
  // Busy until 1000: 33 control periods and 20 scroll periods passed; one tick of each.
  uint64_t until = 0;
  EXPECT_EQ(StepsAt(pump, 1000, &until),
            (std::vector<Kind>{Kind::ControlsTick, Kind::ScrollTick, Kind::Wait}));
  EXPECT_EQ(until, 1020u) << "controls stay on their 30 ms grid";
  EXPECT_EQ(StepsAt(pump, 1020, &until), (std::vector<Kind>{Kind::ControlsTick, Kind::Wait}));
  EXPECT_EQ(until, 1050u) << "scroll stays on its 50 ms grid";
  // A late wake-up (1052 for 1050) does not push the next tick later.
  EXPECT_EQ(StepsAt(pump, 1052, &until),
            (std::vector<Kind>{Kind::ControlsTick, Kind::ScrollTick, Kind::Wait}));
  EXPECT_EQ(until, 1080u);
}

struct RunCounts {
  int frames = 0;
  int controlsTicks = 0;
  int scrollTicks = 0;
};

// A game window on the virtual clock: shown at 0 (one repaint), every tick requests a repaint,
// and every frame costs `frameCostMs`.
RunCounts RunGameWindow(uint64_t durationMs, uint64_t frameCostMs) {
  MessagePump pump;
  uint64_t now = 0;
  SetPumpTimers(pump, now);
  RequestRepaint(pump);
  RunCounts counts;
  while (now < durationMs) {
    const PumpStep step = NextPumpStep(pump, now);
    switch (step.kind) {
      case Kind::Paint:
        ++counts.frames;
        now += frameCostMs;
        break;
      case Kind::ControlsTick:
        ++counts.controlsTicks;
        RequestRepaint(pump);
        break;
      case Kind::ScrollTick:
        ++counts.scrollTicks;
        RequestRepaint(pump);
        break;
      case Kind::Wait:
        now = step.waitUntil;
        break;
    }
  }
  return counts;
}

TEST(PumpTest, CheapFramesFollowEveryTickAtAbout53ASecond) {
  const RunCounts run = RunGameWindow(60'000, 2);
  EXPECT_NEAR(run.controlsTicks, 60'000 / 30, 1);
  EXPECT_NEAR(run.scrollTicks, 60'000 / 50, 1);
  EXPECT_EQ(run.frames, 1 + run.controlsTicks + run.scrollTicks) << "one frame per tick";
  EXPECT_NEAR(run.frames / 60.0, 1000.0 / 30 + 1000.0 / 50, 0.1);
}

TEST(PumpTest, SlowFramesMergeTheTicksAndSetThePace) {
  // 40 ms a frame is longer than either period: ticks pile up, merge, and the frames set the pace.
  const RunCounts run = RunGameWindow(60'000, 40);
  EXPECT_NEAR(run.frames / 60.0, 1000.0 / 40, 0.1);
  EXPECT_LT(run.controlsTicks + run.scrollTicks, run.frames + 1) << "at most one tick per frame";
  // The earlier-due timer goes first, so neither starves the other.
  EXPECT_GT(run.controlsTicks, run.frames / 4);
  EXPECT_GT(run.scrollTicks, run.frames / 4);
}

}  // namespace
