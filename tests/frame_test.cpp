// The frame step: what a frame shows, and how bullets, enemies and the background move.
#include "game/frame.h"

#include "support/game_fixture.h"

namespace {

using FrameTest = GameTest;

bool ShowsBackground(std::span<const Pixel> frame, int32_t x, int32_t y, int32_t scroll = 0) {
  const int32_t column = ((x - scroll) % 800 + 800) % 800;
  return frame[static_cast<size_t>(y) * 800 + x] == BackgroundFixtureColour(column, y);
}

TEST_F(FrameTest, FirstFrameShowsTheSkyTheLevelFlyerAndNoScore) {
  Reset();
  Frame();
  EXPECT_TRUE(ShowsBackground(*frame, 0, 0));  // the flyer's pure-red corner is left out
  EXPECT_EQ(At(1, 1), kFlyerColour);
  EXPECT_EQ(At(116, 23), kFlyerColour);
  EXPECT_TRUE(ShowsBackground(*frame, 118, 10));
  EXPECT_TRUE(ShowsBackground(*frame, 799, 599));
  EXPECT_TRUE(ShowsBackground(*frame, 400, 300));
  EXPECT_TRUE(LabelShows(*frame, "Your Point  :          0", 400, 10));
  for (int32_t y = 0; y < 600; ++y)
    EXPECT_TRUE(ShowsBackground(*frame, 799, y)) << y;
}

// Every layer overlaps the one below it somewhere; each probe names the layer it must show.
TEST_F(FrameTest, LayersStackFromBackgroundToScoreLabel) {
  Reset();
  world->player.x = 160;  // flyer: 160..277 x 20..44
  world->player.y = 20;
  world->bullets[0] = {1, 265, 46, 10, 10};  // drawn at (265, 36): over the flyer, under the boss
  Store(world->bossActive, 1);
  Store(world->enraged, 1);  // enemies are drawn while the boss rages
  world->boss.x = 100;       // boss: 100..278 x 40..237; its label 166..213 x 20..35
  world->boss.y = 40;
  Store(world->enemies[0].x, 200);  // enemy: 200..239 x 30..76, over the boss and its label
  world->enemies[0].y = 30;
  Store(world->enemies[1].x, 320);  // enemy under the score label (304..495 x 10..25)
  world->enemies[1].y = 0;
  AdvanceVirtualTime(5000);  // every enemy's time has come
  Frame();

  auto isLabel = [](Pixel p) { return p == kLabelBox || p == kLabelInk; };
  EXPECT_EQ(At(250, 25), kFlyerColour);
  EXPECT_EQ(At(270, 38), kBulletColour);  // bullet over flyer
  EXPECT_EQ(At(270, 43), kBossColour);    // boss over bullet
  EXPECT_EQ(At(180, 42), kBossColour);    // boss over flyer
  EXPECT_TRUE(isLabel(At(170, 22)));      // boss label over flyer
  EXPECT_EQ(At(220, 60), kEnemyColour);   // enemy over boss
  EXPECT_EQ(At(205, 33), kEnemyColour);   // enemy over the boss label
  EXPECT_EQ(At(330, 30), kEnemyColour);
  EXPECT_TRUE(LabelShows(*frame, "Your Point  :          0", 400, 10));  // score label over all
  EXPECT_TRUE(ShowsBackground(*frame, 700, 300));
}

TEST_F(FrameTest, BulletsAreDrawnTenAboveThenStepTwentyAndLeaveAfter800) {
  struct Case {
    int32_t x;
    int32_t xAfter;
    bool aliveAfter;
  };
  const Case cases[] = {
      {100, 120, true},  {760, 780, true},
      {780, 800, true},   // exactly 800 stays for one more frame
      {781, 801, false},  // past 800: freed in the same pass
      {800, 820, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    FreshWorld();
    Reset();
    world->bullets[3] = {1, c.x, 300, 10, 10};
    Frame();
    EXPECT_EQ(world->bullets[3].x, c.xAfter);
    EXPECT_EQ(world->bullets[3].alive, c.aliveAfter ? 1 : 0);
    if (c.x + 1 < 800) {
      EXPECT_EQ(At(c.x + 1, 291), kBulletColour);  // interior top-left: picture at (x, y - 10)
      EXPECT_NE(At(c.x + 1, 289), kBulletColour);
      EXPECT_NE(At(c.x - 1, 295), kBulletColour);
    }
  }
}

TEST_F(FrameTest, FreedBulletSlotsAreNotDrawnOrMoved) {
  Reset();
  world->bullets[0] = {0, 200, 300, 10, 10};
  Frame();
  EXPECT_EQ(world->bullets[0].x, 200);
  EXPECT_TRUE(ShowsBackground(*frame, 205, 295));
}

// The first enemy (slot 1, 800 ms) shows only once more than 800 ms have passed since the reset;
// the elapsed time is an unsigned difference, so a tick count that wraps past zero changes nothing.
TEST_F(FrameTest, EnemiesAppearStrictlyAfterTheirTimeAcrossATickWrap) {
  for (const uint32_t start : {5000u, 0xFFFFFD00u}) {
    SCOPED_TRACE(start);
    FreshWorld(start);
    Reset();
    AdvanceVirtualTime(800);
    Frame();
    EXPECT_EQ(Load(world->enemies[1].x), 800);  // equal is not yet
    AdvanceVirtualTime(1);
    Frame();
    EXPECT_EQ(Load(world->enemies[1].x), 795);  // drawn at 800, off the scene, then moved
    EXPECT_EQ(Load(world->enemies[0].x), 800);  // slot 0 waits for 1000 ms
    Frame();
    EXPECT_EQ(At(797, 21), kEnemyColour);  // its first columns show at 795, on row 20
    EXPECT_TRUE(ShowsBackground(*frame, 797, 19));
  }
}

TEST_F(FrameTest, EnemiesStepFiveOrThirtyAndWrapBelowMinusForty) {
  struct Case {
    int32_t x;
    bool enraged;
    int32_t xAfter;
  };
  const Case cases[] = {
      {400, false, 395}, {-35, false, -40}, {-40, false, 800}, {-36, false, 800},
      {400, true, 370},  {-10, true, -40},  {-11, true, 800},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << (c.enraged ? " enraged" : ""));
    FreshWorld();
    Reset();
    AdvanceVirtualTime(5000);
    Store(world->enemies[2].x, c.x);
    Store(world->enemies[2].sprite, IDB_EXPLOSION);
    Store(world->enraged, c.enraged ? 1 : 0);
    Frame();
    EXPECT_EQ(Load(world->enemies[2].x), c.xAfter);
    EXPECT_EQ(Load(world->enemies[2].sprite), IDB_EXPLOSION);  // the wrap keeps the picture
  }
}

TEST_F(FrameTest, EnemiesFreezeAndHideWhileTheBossIsCalm) {
  Reset();
  AdvanceVirtualTime(5000);
  Store(world->enemies[2].x, 400);
  Store(world->bossActive, 1);
  world->boss.x = 800;  // off the scene, out of the way
  Frame();
  EXPECT_EQ(Load(world->enemies[2].x), 400);
  EXPECT_TRUE(ShowsBackground(*frame, 410, 520));
  Store(world->enraged, 1);
  Frame();
  EXPECT_EQ(Load(world->enemies[2].x), 370);
  EXPECT_EQ(At(410, 520), kEnemyColour);
}

TEST_F(FrameTest, BackgroundScrollsOnePixelATickInAnEightHundredTickCycle) {
  Reset();
  for (int32_t tick = 1; tick <= 800; ++tick) {
    ScrollBackground(*world);
    ASSERT_EQ(world->scrollOffset, -tick);
  }
  ScrollBackground(*world);
  EXPECT_EQ(world->scrollOffset, -1);  // never -801, never 0 again

  world->scrollOffset = -1;
  Frame();
  EXPECT_TRUE(ShowsBackground(*frame, 799, 300, -1));  // picture column 0 at the right edge
  EXPECT_EQ(At(799, 300), BackgroundFixtureColour(0, 300));
  EXPECT_EQ(At(0, 300), BackgroundFixtureColour(1, 300));
}

}  // namespace
