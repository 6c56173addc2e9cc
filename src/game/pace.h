// The game's pace: the periods of the game window's two timers, the same in every program.
//
// The controls tick moves the flyer (PollControls) and the scroll tick slides the background
// (ScrollBackground); each asks for a repaint, and each repaint runs one frame.
#pragma once

#include <cstdint>

constexpr uint32_t kControlsPeriodMs = 30;  // IDT_CONTROLS
constexpr uint32_t kScrollPeriodMs = 50;    // IDT_SCROLL
