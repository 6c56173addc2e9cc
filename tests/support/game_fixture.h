// A fresh world on a fresh virtual timeline for every test, and frames rendered to pixels.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/world.h"
#include "support/fixture_pictures.h"
#include "support/virtual_platform.h"

// The fixture pictures of the whole game, built once.
const FixtureResources& FixturePictures();

// Runs RunFrame once on a fresh software canvas over `resources`; returns the frame's pixels.
std::vector<Pixel> RenderFrame(GameWorld& world, ResourceTable resources);

class GameTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kStartTick = 5000;

  void SetUp() override {
    ResetVirtualPlatform(kStartTick);
    world = std::make_unique<GameWorld>();
  }
  void TearDown() override { ResetVirtualPlatform(); }  // retire the test's event threads

  // ResetWorld at the current virtual time, as the game window's creation does.
  void Reset() { ResetWorld(*world); }

  // One frame over the fixture pictures; its pixels stay in `frame`.
  void Frame() { frame = RenderFrame(*world, FixturePictures().Table()); }
  void Frames(int count) {
    for (int i = 0; i < count; ++i)
      Frame();
  }
  Pixel At(int32_t x, int32_t y) const { return frame[static_cast<size_t>(y) * 800 + x]; }

  std::unique_ptr<GameWorld> world;
  std::vector<Pixel> frame;
};

// True when `frame` shows `text` as DrawLabel draws it: white glyphs on the label box, centred on
// x, top at y (the parts inside the scene).
::testing::AssertionResult LabelShows(const std::vector<Pixel>& frame, const char* text, int32_t x,
                                      int32_t y);

// The cues asked for since the last look (TakeCueRecords), as one readable line: "explosion,
// boss hit, rage", each marked "muted" when it was asked for while the boss was enraged.
std::string TakeCueLog();
