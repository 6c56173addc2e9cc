// A fresh world on a fresh virtual timeline for every test, and frames rendered to pixels.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "game/world.h"
#include "support/fixture_pictures.h"
#include "support/virtual_platform.h"

// The fixture pictures of the whole game, built once.
const FixtureResources& FixturePictures();

// Runs RunFrame once on a software canvas over `resources`, drawing into `frame`.
void RenderFrame(GameWorld& world, ResourceTable resources, BackBuffer& frame);

class GameTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kStartTick = 5000;

  void SetUp() override { FreshWorld(); }
  void TearDown() override { ResetVirtualPlatform(); }  // retire the test's event threads

  // A new world on a new virtual timeline from tick count `startTick`, for each case of a table:
  // the event threads of the case before are retired and never touch it.
  void FreshWorld(uint32_t startTick = kStartTick) {
    ResetVirtualPlatform(startTick);
    world = std::make_unique<GameWorld>();
  }

  // ResetWorld at the current virtual time, as the game window's creation does.
  void Reset() { ResetWorld(*world); }

  // One frame over the fixture pictures; its pixels stay in `frame`.
  void Frame() { RenderFrame(*world, FixturePictures().Table(), *frame); }
  void Frames(int count) {
    for (int i = 0; i < count; ++i)
      Frame();
  }
  Pixel At(int32_t x, int32_t y) const { return (*frame)[static_cast<size_t>(y) * 800 + x]; }

  std::unique_ptr<GameWorld> world;
  std::unique_ptr<BackBuffer> frame = std::make_unique<BackBuffer>();
};

// True when `frame` shows `text` as DrawLabel draws it: white glyphs on the label box, centred on
// x, top at y (the parts inside the scene).
::testing::AssertionResult LabelShows(std::span<const Pixel> frame, const char* text, int32_t x,
                                      int32_t y);

// The cues asked for since the last look (TakeCueRecords), as one readable line: "explosion,
// boss hit, rage", each marked "muted" when it was asked for while the boss was enraged.
std::string TakeCueLog();

// Timed events by their names, as one readable line: "ActivateBoss, RestoreBoss, RageCycle".
std::string EventNames(const std::vector<TimedEvent>& events);

// The timed events started since the last look (TakeStartedEvents), by their names, in order.
std::string TakeStartLog();
