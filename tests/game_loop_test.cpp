// The game loop that the Linux program and the browser page run: creation, ticks, merged
// repaints, one frame per paint, keys, and a minimised window.
#include <gtest/gtest.h>

#include "support/game_fixture.h"
#include "support/headless_game.h"

namespace {

class GameLoopTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    OpenGameWindow(game, FixturePictures().Table());
  }

  // The live bullets' x positions, slot by slot (-1 for a free slot).
  std::vector<int32_t> BulletXs() const {
    std::vector<int32_t> xs;
    for (const BulletSlot& b : game.world->bullets)
      xs.push_back(b.alive ? b.x : -1);
    return xs;
  }

  HeadlessGame game;
};

TEST_F(GameLoopTest, EachPaintRunsExactlyOneFrameAndEachTickAsksForOne) {
  // A bullet moves 20 px in every frame and in nothing else, so its path counts the frames that
  // really ran, whatever the loop's own counter says.
  PressSpace(game);
  const int32_t firedAt = game.world->bullets[0].x;
  int paints = 0;
  game.afterFrame = [&](const HeadlessGame& g) {
    ++paints;
    ASSERT_EQ(g.world->bullets[0].x, firedAt + 20 * paints) << "paint " << paints;
  };
  game.frameCostMs = 0;
  RunGameFor(game, 301);
  // The first paint (the window shown), then one per tick: controls at 30, 60 .. 300 and scroll
  // at 50, 100 .. 300. Where both fall due together each still gets its paint: a pending paint is
  // served before the next tick, so the two requests never meet.
  EXPECT_EQ(paints, 1 + 10 + 6);
  EXPECT_EQ(game.loop.frames, paints);
}

TEST_F(GameLoopTest, RepaintRequestsMergeUntilThePaint) {
  RunGameFor(game, 1);
  ASSERT_EQ(game.loop.frames, 1);
  RequestLoopRepaint(game.loop);  // exposed, resized and restored before the next paint
  RequestLoopRepaint(game.loop);
  RequestLoopRepaint(game.loop);
  RunGameFor(game, 28);  // before the first tick
  EXPECT_EQ(game.loop.frames, 2);
}

TEST_F(GameLoopTest, SpaceFiresOnEveryKeyDownButNotWithAlt) {
  PressSpace(game, /*altHeld=*/true);
  EXPECT_EQ(BulletXs(), std::vector<int32_t>(kBulletSlots, -1))
      << "Alt+Space is the window menu's key";
  PressSpace(game);
  PressSpace(game);  // an auto-repeat fires as a new key-down does
  EXPECT_EQ(game.world->bullets[0].alive + game.world->bullets[1].alive, 2);
}

TEST_F(GameLoopTest, InputBetweenATickAndItsPaintShowsInThatPaint) {
  RunGameFor(game, 29);  // the first paint, then nothing until the controls tick at 30
  AdvanceVirtualTime(1);
  ASSERT_EQ(StepGameLoop(game.loop, VirtualNow(), {}).kind, LoopStepKind::Tick);
  PressSpace(game);  // a key-down that was waiting behind the tick
  ASSERT_EQ(StepGameLoop(game.loop, VirtualNow(), {}).kind, LoopStepKind::Paint);
  PaintGameFrame(game.loop, *game.frame);
  EXPECT_EQ(game.world->bullets[0].x, 118 + 20) << "drawn at the nose, then moved, in this frame";
}

TEST_F(GameLoopTest, HeldArrowsActOnlyOnTheControlsTick) {
  game.held = {.down = true, .right = true};
  RunGameFor(game, 29);
  EXPECT_EQ(game.world->player.y, 0) << "no tick yet";
  RunGameFor(game, 2 + 30 * 2);  // through the ticks at 30, 60 and 90
  EXPECT_EQ(game.world->player.y, 30);
  EXPECT_EQ(game.world->player.x, 30);
}

TEST_F(GameLoopTest, AMinimisedWindowPaintsNothingWhileTheGameGoesOn) {
  RunGameFor(game, 1);
  const int64_t framesBefore = game.loop.frames;
  game.loop.minimised = true;
  RunGameFor(game, 1000);
  EXPECT_EQ(game.loop.frames, framesBefore);
  EXPECT_EQ(game.world->scrollOffset, -20) << "the scroll timer still ticks";
  game.loop.minimised = false;
  RequestLoopRepaint(game.loop);  // restored
  RunGameFor(game, 1);
  EXPECT_EQ(game.loop.frames, framesBefore + 1);
}

}  // namespace
