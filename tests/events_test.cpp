// Timed events and random numbers: each event's delay and writes on the virtual clock, the loops'
// periods, failed thread starts (all of them, or one event's by its name), and the fixed random
// sequence.
#include "game/events.h"

#include "game/hits.h"
#include "support/game_fixture.h"

namespace {

using EventsTest = GameTest;

TEST(NextRandomTest, TheSameSequenceFromSeedOne) {
  GameWorld world;
  const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int32_t value : expected)
    EXPECT_EQ(NextRandom(world), value);
}

// The enemy comes back at the right edge with its ordinary picture exactly 100 ms after each hit,
// on its own row and without waiting for its appearance time again. Hit twice 50 ms apart, it
// comes back twice, even though it has moved on in between.
TEST_F(EventsTest, RespawnPutsTheEnemyBackAtEightHundred100MsAfterEachHit) {
  Reset();
  EnemySlot& enemy = world->enemies[3];
  Store(enemy.x, 500);
  Store(enemy.sprite, IDB_EXPLOSION);
  RespawnEnemyLater(*world, 3);
  AdvanceVirtualTime(50);
  Store(enemy.x, 450);
  RespawnEnemyLater(*world, 3);
  AdvanceVirtualTime(49);
  EXPECT_EQ(Load(enemy.x), 450);
  EXPECT_EQ(Load(enemy.sprite), IDB_EXPLOSION);
  AdvanceVirtualTime(1);  // 100 ms after the first hit
  EXPECT_EQ(Load(enemy.x), 800);
  EXPECT_EQ(Load(enemy.sprite), IDB_ENEMY);
  EXPECT_EQ(enemy.y, 100);
  EXPECT_EQ(enemy.appearMs, 3500u);
  EXPECT_EQ(enemy.alive, 1);
  EXPECT_EQ(enemy.width, 48);
  EXPECT_EQ(enemy.height, 47);
  Store(enemy.x, 700);
  Store(enemy.sprite, IDB_EXPLOSION);
  AdvanceVirtualTime(49);
  EXPECT_EQ(Load(enemy.x), 700);
  AdvanceVirtualTime(1);  // 100 ms after the second hit
  EXPECT_EQ(Load(enemy.x), 800);
  EXPECT_EQ(Load(enemy.sprite), IDB_ENEMY);
  EXPECT_EQ(SleepingEventThreads(), 0);  // one-shot events end after their write
}

// The other one-shot events: nothing one millisecond before the delay, the write at it.
TEST_F(EventsTest, OneShotEventsWriteAfterTheirDelay) {
  struct Case {
    const char* rule;
    void (*start)(GameWorld&);
    uint32_t delayMs;
    bool enraged;
    SharedInt GameWorld::*field;  // a flag of the world, or nullptr for boss.sprite
    int32_t before, after;
  };
  const Case cases[] = {
      {"restore: the calm picture back", RestoreBossLater, 300, false, nullptr, IDB_BOSS_HIT,
       IDB_BOSS},
      {"restore during a rage writes nothing", RestoreBossLater, 300, true, nullptr, IDB_BOSS_RAGE,
       IDB_BOSS_RAGE},
      {"activate: the boss on stage", ActivateBossLater, 200, false, &GameWorld::bossActive, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    FreshWorld();
    Store(world->enraged, c.enraged ? 1 : 0);
    SharedInt& field = c.field ? world.get()->*c.field : world->boss.sprite;
    Store(field, c.before);
    c.start(*world);
    AdvanceVirtualTime(c.delayMs - 1);
    EXPECT_EQ(Load(field), c.before);
    AdvanceVirtualTime(1);
    EXPECT_EQ(Load(field), c.after);
    EXPECT_EQ(SleepingEventThreads(), 0);
  }
}

// Level flight is restored every 200 ms, whatever picture the controls wrote in between.
TEST_F(EventsTest, LevelFlightReturnsEvery200Ms) {
  LevelFlightLoop(*world);
  for (SpriteId held : {IDB_PLAYER_UP, IDB_PLAYER_DOWN, IDB_PLAYER_UP}) {
    Store(world->player.sprite, held);
    AdvanceVirtualTime(199);
    EXPECT_EQ(Load(world->player.sprite), held);
    AdvanceVirtualTime(1);
    EXPECT_EQ(Load(world->player.sprite), IDB_PLAYER);
  }
  EXPECT_EQ(EventNames(SleepingEvents()), "LevelFlight");  // the loop never ends
}

// The two loops of the boss trigger, started in the trigger's order: a rage from 5 s to 7 s every
// 7 s, its cue asked for while the flag is still down (so it plays); a direction at 7 s and then
// every 2 s, from the fixed random sequence (down, right, left, up, ...).
TEST_F(EventsTest, RageEverySevenSecondsAndADirectionEveryTwoAfterSeven) {
  struct Row {
    uint32_t ms;
    int32_t enraged;
    SpriteId sprite;
    int32_t direction;
    const char* cues;  // since the row before
  };
  const Row rows[] = {
      {4999, 0, IDB_BOSS, -1, ""},          {5000, 1, IDB_BOSS_RAGE, -1, "rage"},
      {6999, 1, IDB_BOSS_RAGE, -1, ""},     {7000, 0, IDB_BOSS, 1, ""},
      {8999, 0, IDB_BOSS, 1, ""},           {9000, 0, IDB_BOSS, 3, ""},
      {11000, 0, IDB_BOSS, 2, ""},          {11999, 0, IDB_BOSS, 2, ""},
      {12000, 1, IDB_BOSS_RAGE, 2, "rage"}, {13000, 1, IDB_BOSS_RAGE, 0, ""},
      {14000, 0, IDB_BOSS, 0, ""},
  };
  RageCycleLoop(*world);
  WanderLoop(*world);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.ms);
    AdvanceVirtualTime(row.ms - VirtualNow());
    EXPECT_EQ(Load(world->enraged), row.enraged);
    EXPECT_EQ(Load(world->boss.sprite), row.sprite);
    EXPECT_EQ(Load(world->boss.direction), row.direction);
    EXPECT_EQ(TakeCueLog(), row.cues);
  }
  EXPECT_EQ(EventNames(SleepingEvents()), "RageCycle, Wander");
}

// A boss struck 100 ms before a rage: its restore comes due inside the rage and writes nothing, so
// the rage picture stands for the whole rage, and the calm one returns when it ends. The restore
// sleeps beside the rage loop until it wakes, 300 ms after the hit.
TEST_F(EventsTest, AHitJustBeforeARageKeepsTheRagePictureForTheWholeRage) {
  Store(world->bossActive, 1);
  world->boss.x = 300;
  world->boss.y = 100;
  world->boss.width = 179;
  world->boss.height = 198;
  RageCycleLoop(*world);
  AdvanceVirtualTime(4900);
  world->bullets[0] = {1, 320, 200, 10, 10};
  ResolveHits(*world);
  EXPECT_EQ(Load(world->boss.sprite), IDB_BOSS_HIT);
  EXPECT_EQ(TakeCueLog(), "boss hit");
  EXPECT_EQ(TakeStartLog(), "RageCycle, RestoreBoss");
  struct Row {
    uint32_t ms;
    SpriteId sprite;
    const char* sleeping;
  };
  const Row rows[] = {
      {4999, IDB_BOSS_HIT, "RestoreBoss, RageCycle"},
      {5000, IDB_BOSS_RAGE, "RestoreBoss, RageCycle"},
      {5199, IDB_BOSS_RAGE, "RestoreBoss, RageCycle"},
      {5200, IDB_BOSS_RAGE, "RageCycle"},
      {6999, IDB_BOSS_RAGE, "RageCycle"},
      {7000, IDB_BOSS, "RageCycle"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.ms);
    AdvanceVirtualTime(row.ms - VirtualNow());
    EXPECT_EQ(Load(world->boss.sprite), row.sprite);
    EXPECT_EQ(EventNames(SleepingEvents()), row.sleeping);
  }
}

// A thread that cannot be started is an event that never happens; the starter goes on. Each event
// is failed by its own name, so each starter must give the name of the event it starts.
TEST_F(EventsTest, AnEventWhoseThreadFailsToStartNeverHappens) {
  struct Case {
    TimedEvent event;
    void (*start)(GameWorld&);
  };
  const Case cases[] = {
      {TimedEvent::RespawnEnemy, [](GameWorld& w) { RespawnEnemyLater(w, 0); }},
      {TimedEvent::RestoreBoss, RestoreBossLater},
      {TimedEvent::ActivateBoss, ActivateBossLater},
      {TimedEvent::LevelFlight, LevelFlightLoop},
      {TimedEvent::RageCycle, RageCycleLoop},
      {TimedEvent::Wander, WanderLoop},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(EventNames({c.event}));
    FreshWorld();
    Reset();
    Store(world->enemies[0].x, 120);
    Store(world->enemies[0].sprite, IDB_EXPLOSION);
    Store(world->boss.sprite, IDB_BOSS_HIT);
    Store(world->player.sprite, IDB_PLAYER_UP);
    FailThreadStarts(c.event, true);
    c.start(*world);
    FailThreadStarts(c.event, false);
    AdvanceVirtualTime(20000);
    EXPECT_EQ(Load(world->enemies[0].x), 120);
    EXPECT_EQ(Load(world->enemies[0].sprite), IDB_EXPLOSION);
    EXPECT_EQ(Load(world->boss.sprite), IDB_BOSS_HIT);
    EXPECT_EQ(Load(world->player.sprite), IDB_PLAYER_UP);
    EXPECT_EQ(Load(world->bossActive), 0);
    EXPECT_EQ(Load(world->enraged), 0);
    EXPECT_EQ(Load(world->boss.direction), -1);
    EXPECT_EQ(TakeCueLog(), "");
    EXPECT_EQ(TakeStartLog(), "");
    EXPECT_EQ(SleepingEventThreads(), 0);
  }
}

// With no thread to be had, the hit that makes 300 still scores and the trigger still does its
// own part (310 points, the boss placed, the enemies blown up with their cues); only the delayed
// changes never come: no respawn, no activation, no rage, no wander.
TEST_F(EventsTest, HitsAndTheTriggerGoOnWhenNoThreadStarts) {
  Reset();
  world->score = 290;
  world->bullets[0] = {1, 770, 255, 10, 10};  // on waiting slot 4
  FailThreadStarts(true);
  Frame();
  FailThreadStarts(false);
  EXPECT_EQ(world->score, 310);
  EXPECT_TRUE(LabelShows(*frame, "Your Point  :        300", 400, 10));
  EXPECT_EQ(world->boss.x, 800);
  EXPECT_EQ(world->boss.y, 200);
  EXPECT_EQ(world->bullets[0].alive, 0);
  EXPECT_EQ(TakeCueLog(), "explosion, explosion, explosion, explosion, explosion, explosion");
  AdvanceVirtualTime(10000);
  Frame();
  EXPECT_EQ(Load(world->bossActive), 0);
  EXPECT_EQ(Load(world->enraged), 0);
  EXPECT_EQ(Load(world->boss.direction), -1);
  EXPECT_EQ(SleepingEventThreads(), 0);
}

}  // namespace
