// Flyer control: key orderings, limits and the bullet table.
#include "game/flyer.h"

#include "support/game_fixture.h"

namespace {

using FlyerTest = GameTest;

constexpr ArrowKeys kNone{};
constexpr ArrowKeys kUp{.up = true};
constexpr ArrowKeys kDown{.down = true};
constexpr ArrowKeys kLeft{.left = true};
constexpr ArrowKeys kRight{.right = true};

ArrowKeys operator|(ArrowKeys a, ArrowKeys b) {
  return {a.up || b.up, a.down || b.down, a.left || b.left, a.right || b.right};
}

TEST_F(FlyerTest, OneTickFollowsTheKeyOrderAndTheLimits) {
  struct Case {
    const char* rule;
    int32_t x, y;
    ArrowKeys keys;
    int32_t xAfter, yAfter;
    SpriteId sprite;  // IDB_PLAYER means "left as it was"
  };
  const Case cases[] = {
      {"nothing held", 100, 100, kNone, 100, 100, IDB_PLAYER},
      {"up climbs", 100, 100, kUp, 100, 90, IDB_PLAYER_UP},
      {"down dives", 100, 100, kDown, 100, 110, IDB_PLAYER_DOWN},
      {"up beats down", 100, 100, kUp | kDown, 100, 90, IDB_PLAYER_UP},
      {"level: right alone", 100, 100, kRight, 110, 100, IDB_PLAYER},
      {"level: left alone", 100, 100, kLeft, 90, 100, IDB_PLAYER},
      {"level: right beats left", 100, 100, kLeft | kRight, 110, 100, IDB_PLAYER},
      {"climbing: left beats right", 100, 100, kUp | kLeft | kRight, 90, 90, IDB_PLAYER_UP},
      {"diving: left beats right", 100, 100, kDown | kLeft | kRight, 90, 110, IDB_PLAYER_DOWN},
      {"diagonal is a full step on each axis", 100, 100, kDown | kRight, 110, 110, IDB_PLAYER_DOWN},
      {"picture changes at the top limit", -20, -20, kUp | kLeft, -20, -20, IDB_PLAYER_UP},
      {"axes are limited apart", 100, -20, kUp | kRight, 110, -20, IDB_PLAYER_UP},
      {"left stops at -20", -20, 0, kLeft, -20, 0, IDB_PLAYER},
      {"-10 may still go to -20", -10, 0, kLeft, -20, 0, IDB_PLAYER},
      {"680 < 682 steps to 690", 680, 0, kRight, 690, 0, IDB_PLAYER},
      {"690 stays", 690, 0, kRight, 690, 0, IDB_PLAYER},
      {"530 < 538 steps to 540", 0, 530, kDown, 0, 540, IDB_PLAYER_DOWN},
      {"540 stays", 0, 540, kDown, 0, 540, IDB_PLAYER_DOWN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    GameWorld w;
    w.player.x = c.x;
    w.player.y = c.y;
    PollControls(w, c.keys);
    EXPECT_EQ(w.player.x, c.xAfter);
    EXPECT_EQ(w.player.y, c.yAfter);
    EXPECT_EQ(Load(w.player.sprite), c.sprite);
  }
}

TEST_F(FlyerTest, HeldKeysReachTheFarLimitsAndStay) {
  GameWorld w;
  for (int tick = 1; tick <= 69; ++tick)
    PollControls(w, kRight | kDown);
  EXPECT_EQ(w.player.x, 690);
  EXPECT_EQ(w.player.y, 540);
  PollControls(w, kRight | kDown);
  EXPECT_EQ(w.player.x, 690);
  EXPECT_EQ(w.player.y, 540);
  for (int tick = 1; tick <= 3; ++tick)
    PollControls(w, kLeft);
  EXPECT_EQ(w.player.x, 660);
}

TEST_F(FlyerTest, LeftFromTheStartStopsAtMinusTwenty) {
  GameWorld w;
  const int32_t expected[] = {-10, -20, -20};
  for (int32_t x : expected) {
    PollControls(w, kLeft);
    EXPECT_EQ(w.player.x, x);
  }
}

TEST_F(FlyerTest, FireBulletFillsTheFirstFreeSlotAtTheNose) {
  GameWorld w;
  w.player.x = 40;
  w.player.y = 70;
  w.bullets[0].alive = 1;
  w.bullets[2].alive = 1;
  w.bullets[1] = {0, 999, 999, 3, 3};  // a free slot keeps stale values; they are overwritten
  FireBullet(w);
  const BulletSlot& b = w.bullets[1];
  EXPECT_EQ(b.alive, 1);
  EXPECT_EQ(b.x, 158);
  EXPECT_EQ(b.y, 90);
  EXPECT_EQ(b.width, 10);
  EXPECT_EQ(b.height, 10);
  FireBullet(w);
  EXPECT_EQ(w.bullets[3].alive, 1);  // slot 2 is live, so the next goes to 3
}

TEST_F(FlyerTest, AFullTableDropsTheShot) {
  GameWorld w;
  for (int i = 0; i < kBulletSlots; ++i)
    FireBullet(w);
  for (const BulletSlot& b : w.bullets)
    ASSERT_EQ(b.alive, 1);
  w.player.x = 300;
  FireBullet(w);  // dropped, not remembered
  for (const BulletSlot& b : w.bullets)
    EXPECT_EQ(b.x, 118);
  w.bullets[7].alive = 0;
  w.bullets[4].alive = 0;
  FireBullet(w);
  EXPECT_EQ(w.bullets[4].x, 418);
  EXPECT_EQ(w.bullets[7].alive, 0);
}

}  // namespace
