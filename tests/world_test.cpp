// The world at program start and after ResetWorld.
#include "game/world.h"

#include "support/game_fixture.h"

namespace {

using WorldTest = GameTest;

TEST_F(WorldTest, ProgramStartValuesSurviveTheReset) {
  Reset();
  const GameWorld& w = *world;
  EXPECT_EQ(w.player.x, 0);
  EXPECT_EQ(w.player.y, 0);
  EXPECT_EQ(Load(w.player.sprite), IDB_PLAYER);
  EXPECT_EQ(w.score, 0);
  EXPECT_EQ(w.scrollOffset, 0);
  EXPECT_EQ(Load(w.bossActive), 0);
  EXPECT_EQ(Load(w.enraged), 0);
  EXPECT_EQ(Load(w.boss.sprite), IDB_BOSS);
  EXPECT_EQ(w.boss.hitPoints, 999999);
  EXPECT_EQ(Load(w.boss.direction), -1);
  EXPECT_EQ(w.boss.entering, 1);
  EXPECT_EQ(w.boss.holdFrames, 0);
  EXPECT_EQ(w.boss.width, 0);
  EXPECT_EQ(w.startTick, kStartTick);
}

TEST_F(WorldTest, ResetEmptiesBothTablesAndWritesTheRoster) {
  // Dirty every slot first: the reset must empty what it finds, not rely on zeroed storage.
  for (BulletSlot& b : world->bullets)
    b = {1, 5, 6, 7, 8};
  for (EnemySlot& e : world->enemies) {
    e.appearMs = 9;
    e.alive = 1;
    Store(e.sprite, IDB_EXPLOSION);
    Store(e.x, 3);
    e.y = e.width = e.height = 4;
  }
  AdvanceVirtualTime(250);
  Reset();

  for (const BulletSlot& b : world->bullets) {
    EXPECT_EQ(b.alive | b.x | b.y | b.width | b.height, 0);
  }
  struct Row {
    uint32_t appearMs;
    int32_t y;
  };
  const Row roster[] = {{1000, 200}, {800, 20}, {2000, 500}, {3500, 100}, {4000, 250}};
  for (int slot = 0; slot < kEnemySlots; ++slot) {
    SCOPED_TRACE(slot);
    const EnemySlot& e = world->enemies[slot];
    if (slot < 5) {
      EXPECT_EQ(e.appearMs, roster[slot].appearMs);
      EXPECT_EQ(e.y, roster[slot].y);
      EXPECT_EQ(e.alive, 1);
      EXPECT_EQ(Load(e.sprite), IDB_ENEMY);
      EXPECT_EQ(Load(e.x), 800);
      EXPECT_EQ(e.width, 48);
      EXPECT_EQ(e.height, 47);
    } else {
      EXPECT_EQ(e.appearMs, 0u);
      EXPECT_EQ(e.alive | Load(e.sprite) | Load(e.x) | e.y | e.width | e.height, 0);
    }
  }
  EXPECT_EQ(world->startTick, kStartTick + 250);
}

}  // namespace
