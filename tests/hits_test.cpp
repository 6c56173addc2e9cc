// Hits and scoring: the tip against closed boxes, which targets a bullet is tested against, and
// what each hit writes, plays and starts.
#include "game/hits.h"

#include "game/frame.h"
#include "support/game_fixture.h"

namespace {

using HitsTest = GameTest;

// A bullet of the game's size (10 x 10) whose tip, (x + 10, y + 5), lies at (tipX, tipY).
BulletSlot BulletWithTip(int32_t tipX, int32_t tipY) {
  return {1, tipX - 10, tipY - 5, 10, 10};
}

void PlaceEnemy(GameWorld& world, int slot, int32_t x, int32_t y, SpriteId sprite = IDB_ENEMY) {
  EnemySlot& enemy = world.enemies[slot];
  enemy.alive = 1;
  Store(enemy.x, x);
  enemy.y = y;
  enemy.width = 48;
  enemy.height = 47;
  Store(enemy.sprite, sprite);
}

// The boss on stage at (300, 100) with the box of its drawn picture, 179 x 198.
void PlaceBoss(GameWorld& world, bool enraged) {
  Store(world.bossActive, 1);
  Store(world.enraged, enraged ? 1 : 0);
  Store(world.boss.sprite, enraged ? IDB_BOSS_RAGE : IDB_BOSS);
  world.boss.x = 300;
  world.boss.y = 100;
  world.boss.width = 179;
  world.boss.height = 198;
}

// All four sides of a box are closed: an enemy at (300, 200) spans x 300..348 and y 200..247 (its
// record's 48 x 47, even while it shows the smaller explosion), the boss at (300, 100) x 300..479
// and y 100..298.
TEST_F(HitsTest, TipOnAnyEdgeOfABoxHitsAndOnePixelOutMisses) {
  struct Case {
    bool boss;
    int32_t tipX, tipY;
    bool hit;
  };
  const Case cases[] = {
      {false, 300, 220, true},  {false, 348, 220, true},  {false, 299, 220, false},
      {false, 349, 220, false}, {false, 320, 200, true},  {false, 320, 247, true},
      {false, 320, 199, false}, {false, 320, 248, false}, {true, 300, 200, true},
      {true, 479, 200, true},   {true, 299, 200, false},  {true, 480, 200, false},
      {true, 400, 100, true},   {true, 400, 298, true},   {true, 400, 99, false},
      {true, 400, 299, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.boss ? "boss" : "enemy") << " tip (" << c.tipX << ", " << c.tipY << ")");
    FreshWorld();
    if (c.boss) {
      PlaceBoss(*world, false);
    } else {
      PlaceEnemy(*world, 0, 300, 200, IDB_EXPLOSION);
    }
    world->bullets[0] = BulletWithTip(c.tipX, c.tipY);
    ResolveHits(*world);
    EXPECT_EQ(world->score, c.hit ? 10 : 0);
    EXPECT_EQ(world->bullets[0].alive, c.hit ? 0 : 1);
    EXPECT_EQ(TakeCueLog(), c.hit ? (c.boss ? "boss hit" : "explosion") : "");
    EXPECT_EQ(EventNames(SleepingEvents()), c.hit ? (c.boss ? "RestoreBoss" : "RespawnEnemy") : "");
  }
}

// Which targets a bullet meets, and what one pass of ResolveHits makes of it. The boss's box,
// x 300..479 by y 100..298, reaches into enemy 0 (450..498 by 200..247), which overlaps enemy 1
// (470..518 by 220..267). Enemy 1 was struck a moment ago and still shows the explosion.
TEST_F(HitsTest, TargetsAndWhatEachHitDoes) {
  enum Boss { kNoBoss, kCalm, kEnraged };
  struct Case {
    const char* rule;
    Boss boss;
    int32_t tipX, tipY;
    int32_t score, hitPoints;
    SpriteId bossSprite, enemy0Sprite;
    const char* cues;
    const char* events;  // respawns and restores now asleep
  };
  const Case cases[] = {
      {"no boss: one bullet scores on both enemies, the exploding one too", kNoBoss, 490, 230, 20,
       999999, IDB_BOSS, IDB_EXPLOSION, "explosion, explosion", "RespawnEnemy, RespawnEnemy"},
      {"a calm boss takes the hit and shields the enemies", kCalm, 475, 230, 10, 999998,
       IDB_BOSS_HIT, IDB_ENEMY, "boss hit", "RestoreBoss"},
      {"a bullet that misses a calm boss is not tested on the enemies", kCalm, 490, 230, 0, 999999,
       IDB_BOSS, IDB_ENEMY, "", ""},
      {"an enraged boss alone: points, but no damage, cue, picture or restore", kEnraged, 400, 150,
       10, 999999, IDB_BOSS_RAGE, IDB_ENEMY, "", ""},
      {"an enraged boss and then an enemy: 20 in all, in silence", kEnraged, 460, 210, 20, 999999,
       IDB_BOSS_RAGE, IDB_EXPLOSION, "explosion muted", "RespawnEnemy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    FreshWorld();
    PlaceEnemy(*world, 0, 450, 200);
    PlaceEnemy(*world, 1, 470, 220, IDB_EXPLOSION);
    if (c.boss != kNoBoss) PlaceBoss(*world, c.boss == kEnraged);
    world->bullets[0] = BulletWithTip(c.tipX, c.tipY);
    ResolveHits(*world);
    EXPECT_EQ(world->score, c.score);
    EXPECT_EQ(world->boss.hitPoints, c.hitPoints);
    EXPECT_EQ(Load(world->boss.sprite), c.bossSprite);
    EXPECT_EQ(Load(world->enemies[0].sprite), c.enemy0Sprite);
    EXPECT_EQ(world->bullets[0].alive, c.score > 0 ? 0 : 1);
    EXPECT_EQ(TakeCueLog(), c.cues);
    EXPECT_EQ(EventNames(SleepingEvents()), c.events);
  }
}

// An enemy that has not appeared yet waits at x 800 and is a target all the same: a bullet drawn
// at 770 steps to 790, its tip at 800 on slot 4's row (250..297).
TEST_F(HitsTest, AWaitingEnemyIsHitUnseen) {
  Reset();  // slot 4 appears only after 4000 ms
  world->bullets[0] = {1, 770, 255, 10, 10};
  Frame();
  EXPECT_EQ(world->score, 10);
  EXPECT_EQ(Load(world->enemies[4].sprite), IDB_EXPLOSION);
  EXPECT_EQ(Load(world->enemies[4].x), 800);  // not moved: its time has not come
  EXPECT_EQ(TakeCueLog(), "explosion");
  EXPECT_TRUE(LabelShows(*frame, "Your Point  :         10", 400, 10));
}

// Two hits in one frame take the score from 290 straight to 310: the trigger never sees 300, and
// no boss comes in this run. Intended.
TEST_F(HitsTest, TwoHitsInOneFrameStepOverThreeHundredAndNoBossComes) {
  Reset();
  world->score = 290;
  world->bullets[0] = {1, 770, 255, 10, 10};  // both on waiting slot 4
  world->bullets[5] = {1, 770, 285, 10, 10};
  Frame();
  EXPECT_EQ(world->score, 310);
  EXPECT_TRUE(LabelShows(*frame, "Your Point  :        310", 400, 10));
  EXPECT_EQ(TakeCueLog(), "explosion, explosion");
  EXPECT_EQ(EventNames(SleepingEvents()), "RespawnEnemy, RespawnEnemy");  // nothing of a trigger
  for (int second = 0; second < 10; ++second) {
    AdvanceVirtualTime(1000);
    Frame();
  }
  EXPECT_EQ(Load(world->bossActive), 0);
  EXPECT_EQ(Load(world->enraged), 0);
  EXPECT_EQ(Load(world->boss.direction), -1);
  EXPECT_EQ(world->boss.x, 0);
  EXPECT_EQ(SleepingEventThreads(), 0);
  EXPECT_EQ(world->score, 310);
}

// Hit points have no floor: they go below zero, and the label grows a minus sign and, below
// -99999, more than six characters.
TEST_F(HitsTest, HitPointsGoBelowZeroAndTheLabelFollows) {
  struct Case {
    int32_t hitPoints;
    const char* label;  // in the frame after the hit
  };
  const Case cases[] = {{1, "     0"}, {0, "    -1"}, {-123455, "-123456"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hitPoints);
    FreshWorld();
    PlaceBoss(*world, false);
    world->boss.holdFrames = 101;
    world->boss.entering = 0;
    world->boss.hitPoints = c.hitPoints;
    world->bullets[0] = {1, 300, 200, 10, 10};  // steps to 320, tip (330, 205)
    Frame();
    EXPECT_EQ(world->boss.hitPoints, c.hitPoints - 1);
    Frame();
    EXPECT_TRUE(LabelShows(*frame, c.label, 390, 80));
  }
}

}  // namespace
