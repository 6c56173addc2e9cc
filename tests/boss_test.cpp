// The boss encounter: the timeline from the summons at 300 points on, the events the trigger
// starts, the wander moves and their limits, and the hit-points label.
#include "game/boss.h"

#include <climits>
#include <vector>

#include "support/game_fixture.h"

namespace {

using BossTest = GameTest;

constexpr int32_t kAny = INT32_MIN;  // a field the row does not look at
constexpr Pixel kNoPixel = 0xFFFFFFFF;

// One encounter on the virtual clock, from the trigger frame (t = 0) on. Each row runs frames up to
// its time, one every 20 ms, optionally sets something up just before the last of them, and then
// says what the world and that frame show. Boss frame n (the n-th frame in which the boss is on
// stage) runs at t = 180 + 20 n. Once the slide is over, rows marked `jump` let virtual time pass
// without frames, as a slow frame rate would, and run just one frame at their time: the timed
// events keep to the clock, the boss moves only by frames.
TEST_F(BossTest, EncounterTimeline) {
  struct Row {
    int32_t ms;
    const char* what;
    bool jump = false;
    void (*before)(GameWorld&) = nullptr;
    int32_t active = kAny, x = kAny, y = kAny, entering = kAny, holdFrames = kAny;
    int32_t width = kAny;  // the drawn size; 0 while the boss has never been drawn
    int32_t enraged = kAny, sprite = kAny, direction = kAny;
    int32_t hitPoints = kAny, score = kAny;
    int32_t bulletAlive = kAny;   // bullet slot 1, where the rows put their shots
    int32_t enemyStep = kAny;     // how far enemy slot 2 (row 500) moved in this frame
    Pixel bossPixel = kNoPixel;   // 2 px in from where the boss was drawn, 100 px down
    Pixel enemyPixel = kNoPixel;  // 2 px in from where enemy slot 2 was drawn
    const char* scoreLabel = nullptr;
    const char* cues = "";    // cues asked for since the row before
    const char* starts = "";  // timed events started since the row before
  };
  const Row rows[] = {
      {.ms = 0,
       .what = "a hit on a waiting enemy makes 300: the trigger frame",
       .before =
           [](GameWorld& w) {
             w.score = 290;
             w.bullets[1] = {1, 770, 255, 10, 10};  // tip (800, 260) on slot 4, still waiting
           },
       .active = 0,
       .x = 800,
       .y = 200,
       .width = 0,
       .score = 310,
       .scoreLabel = "Your Point  :        300",
       .cues = "explosion, explosion, explosion, explosion, explosion, explosion",
       .starts = "RespawnEnemy, ActivateBoss, RestoreBoss, RestoreBoss, RestoreBoss, RestoreBoss, "
                 "RestoreBoss, RageCycle, Wander"},
      {.ms = 20,
       .what = "summoned: not drawn, enemies blown up but still moving",
       .active = 0,
       .width = 0,
       .enemyStep = 5,
       .enemyPixel = kExplosionColour,
       .scoreLabel = "Your Point  :        310"},
      {.ms = 180,
       .what = "summoned: the boss's box is not a target yet",
       .before =
           [](GameWorld& w) {
             w.bullets[1] = {1, 770, 345, 10, 10};
           },  // tip (800, 350)
       .active = 0,
       .width = 0,
       .hitPoints = 999999,
       .bulletAlive = 1,
       .enemyStep = 5},
      {.ms = 200,
       .what = "activated: boss frame 1, held off the scene but hit-testable",
       .before =
           [](GameWorld& w) {
             w.bullets[1] = {1, 770, 345, 10, 10};
           },
       .active = 1,
       .x = 800,
       .y = 200,
       .holdFrames = 1,
       .width = 179,
       .sprite = IDB_BOSS_HIT,
       .hitPoints = 999998,
       .bulletAlive = 0,
       .enemyStep = 0,
       .enemyPixel = BackgroundFixtureColour(752, 502),
       .cues = "boss hit",
       .starts = "RestoreBoss"},
      {.ms = 280, .what = "still struck", .sprite = IDB_BOSS_HIT},
      {.ms = 300, .what = "the trigger's restores come due", .sprite = IDB_BOSS},
      {.ms = 2200, .what = "boss frame 101: the last of the hold", .x = 800, .holdFrames = 101},
      {.ms = 2220, .what = "boss frame 102: the first slide step", .x = 797, .entering = 1},
      {.ms = 2240, .what = "its first columns show", .x = 794, .bossPixel = kBossColour},
      {.ms = 3860, .what = "boss frame 184", .x = 551, .entering = 1},
      {.ms = 3880, .what = "boss frame 185: the 84th step ends the slide", .x = 550, .entering = 0},
      {.ms = 4980,
       .what = "calm before the first rage",
       .jump = true,
       .x = 550,
       .y = 200,
       .enraged = 0,
       .sprite = IDB_BOSS,
       .direction = -1,
       .enemyStep = 0,
       .bossPixel = kBossColour},
      {.ms = 5000,
       .what = "the first rage: its cue is heard, enemies rush",
       .enraged = 1,
       .sprite = IDB_BOSS_RAGE,
       .enemyStep = 30,
       .bossPixel = kBossRageColour,
       .enemyPixel = kExplosionColour,
       .cues = "rage"},
      {.ms = 6000,
       .what = "an enemy hit in the rage scores in silence",
       .jump = true,
       .before =
           [](GameWorld& w) {
             Store(w.enemies[1].x, 400);           // row 20, steps to 370 in this frame
             w.bullets[1] = {1, 350, 25, 10, 10};  // tip (380, 30)
           },
       .score = 330,
       .bulletAlive = 0,
       .cues = "explosion muted",
       .starts = "RespawnEnemy"},
      {.ms = 6980,
       .what = "the rage's last frame, no direction yet",
       .jump = true,
       .x = 550,
       .y = 200,
       .enraged = 1,
       .direction = -1},
      {.ms = 7000,
       .what = "the rage ends, the first direction: down",
       .x = 550,
       .y = 203,
       .enraged = 0,
       .sprite = IDB_BOSS,
       .direction = 1,
       .enemyStep = 0},
      {.ms = 7500,
       .what = "cues are heard again after the rage",
       .jump = true,
       .before =
           [](GameWorld& w) {
             w.bullets[1] = {1, 530, 295, 10, 10};
           },  // tip (560, 300)
       .y = 206,
       .hitPoints = 999997,
       .score = 340,
       .bulletAlive = 0,
       .cues = "boss hit",
       .starts = "RestoreBoss"},
      {.ms = 9000, .what = "right", .jump = true, .x = 553, .y = 206, .direction = 3},
      {.ms = 11000, .what = "left", .jump = true, .x = 550, .direction = 2},
      {.ms = 12000,
       .what = "the second rage",
       .jump = true,
       .x = 547,
       .enraged = 1,
       .cues = "rage"},
      {.ms = 13000, .what = "up", .jump = true, .x = 547, .y = 203, .direction = 0},
      {.ms = 14000, .what = "the second rage ends", .jump = true, .y = 200, .enraged = 0},
      {.ms = 15000, .what = "down", .jump = true, .y = 203, .direction = 1},
      {.ms = 17000, .what = "up", .jump = true, .y = 200, .direction = 0},
      {.ms = 19000,
       .what = "left, and the third rage",
       .jump = true,
       .x = 544,
       .y = 200,
       .enraged = 1,
       .direction = 2,
       .cues = "rage"},
      {.ms = 21000, .what = "left", .jump = true, .x = 541, .enraged = 0, .direction = 2},
      {.ms = 23000, .what = "left", .jump = true, .x = 538, .direction = 2},
      {.ms = 25000, .what = "up", .jump = true, .x = 538, .y = 197, .direction = 0},
  };
  constexpr int32_t kFrameMs = 20;

  Reset();
  AdvanceVirtualTime(3000 - kFrameMs);  // slots 0, 1 and 2 have appeared; 3 and 4 wait
  int32_t t = -kFrameMs;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "t = " << row.ms << " ms: " << row.what);
    int32_t bossX = 0, bossY = 0, enemyX = 0;
    if (row.jump && t < row.ms - kFrameMs) {
      AdvanceVirtualTime(row.ms - kFrameMs - t);
      t = row.ms - kFrameMs;
    }
    while (t < row.ms) {
      t += kFrameMs;
      AdvanceVirtualTime(kFrameMs);
      if (t == row.ms && row.before) row.before(*world);
      bossX = world->boss.x;
      bossY = world->boss.y;
      enemyX = Load(world->enemies[2].x);
      Frame();
    }
    const GameWorld& w = *world;
    auto check = [](int32_t want, int32_t got, const char* field) {
      if (want != kAny) {
        EXPECT_EQ(got, want) << field;
      }
    };
    check(row.active, Load(w.bossActive), "bossActive");
    check(row.x, w.boss.x, "boss.x");
    check(row.y, w.boss.y, "boss.y");
    check(row.entering, w.boss.entering, "entering");
    check(row.holdFrames, w.boss.holdFrames, "holdFrames");
    check(row.width, w.boss.width, "boss.width");
    if (row.width > 0) check(198, w.boss.height, "boss.height");
    check(row.enraged, Load(w.enraged), "enraged");
    check(row.sprite, Load(w.boss.sprite), "boss.sprite");
    check(row.direction, Load(w.boss.direction), "direction");
    check(row.hitPoints, w.boss.hitPoints, "hitPoints");
    check(row.score, w.score, "score");
    check(row.bulletAlive, w.bullets[1].alive, "bullet alive");
    check(row.enemyStep, enemyX - Load(w.enemies[2].x), "enemy step");
    if (row.bossPixel != kNoPixel) {
      EXPECT_EQ(At(bossX + 2, bossY + 100), row.bossPixel);
    }
    if (row.enemyPixel != kNoPixel) {
      EXPECT_EQ(At(enemyX + 2, 502), row.enemyPixel);
    }
    if (row.scoreLabel) {
      EXPECT_TRUE(LabelShows(*frame, row.scoreLabel, 400, 10));
    }
    EXPECT_EQ(TakeCueLog(), row.cues);
    EXPECT_EQ(TakeStartLog(), row.starts);
  }
}

// The trigger starts its events in its own order: the activation, one restore for each live enemy
// it blows up, then the rage loop and the wander loop. Any score but 300 starts nothing.
TEST_F(BossTest, TheTriggerStartsItsEventsInItsOrder) {
  struct Case {
    const char* rule;
    int32_t score;
    int liveEnemies;  // slots 0 .. liveEnemies - 1 alive
    const char* starts;
  };
  const Case cases[] = {
      {"five live enemies, as in every run", 300, 5,
       "ActivateBoss, RestoreBoss, RestoreBoss, RestoreBoss, RestoreBoss, RestoreBoss, RageCycle, "
       "Wander"},
      {"a restore for each live enemy", 300, 2,
       "ActivateBoss, RestoreBoss, RestoreBoss, RageCycle, Wander"},
      {"no live enemy, no restore", 300, 0, "ActivateBoss, RageCycle, Wander"},
      {"310 is not 300", 310, 5, ""},
      {"nor is 290", 290, 5, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    FreshWorld();
    Reset();
    for (int slot = c.liveEnemies; slot < kEnemySlots; ++slot)
      world->enemies[slot].alive = 0;
    world->score = c.score;
    CheckBossTrigger(*world);
    EXPECT_EQ(TakeStartLog(), c.starts);
  }
}

// One of the trigger's events failing to start takes nothing from the others: each still comes at
// its time. The boss was struck just before, so the restores show.
TEST_F(BossTest, ATriggerEventThatFailsToStartLeavesTheOthers) {
  using enum TimedEvent;
  for (const TimedEvent failing : {ActivateBoss, RestoreBoss, RageCycle, Wander}) {
    SCOPED_TRACE(EventNames({failing}));
    FreshWorld();
    Reset();
    world->score = 300;
    Store(world->boss.sprite, IDB_BOSS_HIT);
    FailThreadStarts(failing, true);
    CheckBossTrigger(*world);
    std::vector<TimedEvent> others = {ActivateBoss, RestoreBoss, RestoreBoss, RestoreBoss,
                                      RestoreBoss,  RestoreBoss, RageCycle,   Wander};
    std::erase(others, failing);
    EXPECT_EQ(TakeStartLog(), EventNames(others));
    AdvanceVirtualTime(300);
    EXPECT_EQ(Load(world->bossActive), failing == ActivateBoss ? 0 : 1);
    EXPECT_EQ(Load(world->boss.sprite), failing == RestoreBoss ? IDB_BOSS_HIT : IDB_BOSS);
    AdvanceVirtualTime(4700);
    EXPECT_EQ(Load(world->enraged), failing == RageCycle ? 0 : 1);
    AdvanceVirtualTime(2000);
    EXPECT_EQ(Load(world->boss.direction), failing == Wander ? -1 : 1);
    EXPECT_EQ(Load(world->bossActive), failing == ActivateBoss ? 0 : 1);
  }
}

// One frame of a boss past its hold: the slide step first, then the wander move, each with its
// limits. Directions other than 0 to 3 make no move.
TEST_F(BossTest, MovesAfterTheHoldFollowTheSlideAndTheDirection) {
  struct Case {
    const char* rule;
    int32_t x, y, direction, entering, holdFrames;
    int32_t xAfter, yAfter, enteringAfter;
  };
  const Case cases[] = {
      {"up, just above the limit", 300, 34, 0, 0, 101, 300, 31, 0},
      {"up stops at 30", 300, 32, 0, 0, 101, 300, 30, 0},
      {"up at 30 stays", 300, 30, 0, 0, 101, 300, 30, 0},
      {"down, just below the limit", 300, 396, 1, 0, 101, 300, 399, 0},
      {"down stops at 400", 300, 398, 1, 0, 101, 300, 400, 0},
      {"left, just right of the limit", 104, 200, 2, 0, 101, 101, 200, 0},
      {"left stops at 100", 102, 200, 2, 0, 101, 100, 200, 0},
      {"right, just left of the limit", 596, 200, 3, 0, 101, 599, 200, 0},
      {"right stops at 600", 599, 200, 3, 0, 101, 600, 200, 0},
      {"no direction yet", 300, 200, -1, 0, 101, 300, 200, 0},
      {"4 is no direction", 300, 200, 4, 0, 101, 300, 200, 0},
      {"sliding alone", 700, 200, -1, 1, 101, 697, 200, 1},
      {"a step onto 550 is not yet the end of the slide", 553, 200, -1, 1, 101, 550, 200, 1},
      {"left while sliding: 6 px", 700, 200, 2, 1, 101, 694, 200, 1},
      {"left ends the slide at 550, then moves on", 552, 200, 2, 1, 101, 547, 200, 0},
      {"right cancels the slide and clamps to 600", 700, 200, 3, 1, 101, 600, 200, 1},
      {"right holds a sliding boss at 600", 600, 200, 3, 1, 101, 600, 200, 1},
      {"up while sliding: diagonal", 700, 200, 0, 1, 101, 697, 197, 1},
      {"the hold's last frame moves nothing", 700, 200, 2, 1, 100, 700, 200, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    FreshWorld();  // no events: the move is the frame's alone
    Store(world->bossActive, 1);
    world->boss.x = c.x;
    world->boss.y = c.y;
    Store(world->boss.direction, c.direction);
    world->boss.entering = c.entering;
    world->boss.holdFrames = c.holdFrames;
    Frame();
    EXPECT_EQ(world->boss.x, c.xAfter);
    EXPECT_EQ(world->boss.y, c.yAfter);
    EXPECT_EQ(world->boss.entering, c.enteringAfter);
    EXPECT_EQ(world->boss.holdFrames, 101);
  }
}

// The boss is drawn where it stands before its move, its hit points above it in "%6d", and the
// size of the picture drawn becomes its box.
TEST_F(BossTest, DrawsItselfAndItsHitPointsAndKeepsTheDrawnSize) {
  FixtureResources smallBoss;  // only what this frame needs, with a boss of another size
  smallBoss.Add(IDB_BACKGROUND, MakeBitmapResource(800, 600, BackgroundFixtureColour));
  smallBoss.Add(IDB_BOSS_RAGE, MakeFigure(60, 30, kBossRageColour));
  struct Case {
    const char* rule;
    int32_t x, y, hitPoints;
    SpriteId sprite;
    Pixel colour;
    const FixtureResources& pictures;
    const char* label;
    int32_t width, height;
  };
  const Case cases[] = {
      {"full hit points", 300, 100, 999999, IDB_BOSS, kBossColour, FixturePictures(), "999999", 179,
       198},
      {"padded to six", 200, 300, 42, IDB_BOSS_HIT, kBossHitColour, FixturePictures(), "    42",
       179, 198},
      {"at the top limit the label's top is 10", 500, 30, 7, IDB_BOSS, kBossColour,
       FixturePictures(), "     7", 179, 198},
      {"another picture, another box", 300, 100, 1000, IDB_BOSS_RAGE, kBossRageColour, smallBoss,
       "  1000", 60, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    FreshWorld();
    Store(world->bossActive, 1);
    world->boss.x = c.x;
    world->boss.y = c.y;
    world->boss.hitPoints = c.hitPoints;
    Store(world->boss.sprite, c.sprite);
    Store(world->boss.direction, 1);  // holdFrames 0: the boss stands still anyway
    RenderFrame(*world, c.pictures.Table(), *frame);
    EXPECT_TRUE(LabelShows(*frame, c.label, c.x + 90, c.y - 20));
    EXPECT_EQ(world->boss.width, c.width);
    EXPECT_EQ(world->boss.height, c.height);
    const int32_t right = c.x + c.width, bottom = c.y + c.height;
    EXPECT_EQ(At(c.x + 1, c.y + 1), c.colour);
    EXPECT_EQ(At(right - 2, bottom - 2), c.colour);
    EXPECT_EQ(At(right, bottom - 2), BackgroundFixtureColour(right, bottom - 2));
    EXPECT_EQ(world->boss.x, c.x);
    EXPECT_EQ(world->boss.y, c.y);
  }
}

}  // namespace
