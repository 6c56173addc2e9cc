// The whole game, headless, over simulated minutes: a scripted player shoots the enemies down to
// 300 points, the boss arrives, rages and wanders as its timeline says, and every frame keeps the
// world's invariants. This script is the seed of our replay tests: inputs on a virtual clock give
// the same run every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "support/game_fixture.h"
#include "support/headless_game.h"

namespace {

// What must hold after every frame of any run.
void CheckInvariants(const GameWorld& w, int32_t& lastScore, int32_t& lastBossActive) {
  const int32_t rows[] = {200, 20, 500, 100, 250};
  for (int slot = 0; slot < kEnemySlots; ++slot) {
    const EnemySlot& e = w.enemies[slot];
    if (slot < 5) {
      ASSERT_TRUE(e.alive == 1 && e.y == rows[slot] && e.width == 48 && e.height == 47) << slot;
    } else {
      ASSERT_EQ(e.alive | Load(e.x) | Load(e.sprite) | e.y | e.width | e.height, 0) << slot;
    }
  }
  for (const BulletSlot& b : w.bullets)
    ASSERT_TRUE(!b.alive || b.x <= 800);
  ASSERT_TRUE(w.scrollOffset <= 0 && w.scrollOffset >= -800);
  ASSERT_TRUE(w.player.x >= -20 && w.player.x <= 690 && w.player.x % 10 == 0);
  ASSERT_TRUE(w.player.y >= -20 && w.player.y <= 540 && w.player.y % 10 == 0);
  ASSERT_EQ(w.score % 10, 0);
  ASSERT_GE(w.score, lastScore);
  ASSERT_GE(Load(w.bossActive), lastBossActive);  // once on stage, always on stage
  if (!w.boss.entering && Load(w.bossActive)) {
    ASSERT_TRUE(w.boss.x >= 100 && w.boss.x <= 600 && w.boss.y >= 30 && w.boss.y <= 400);
  }
  lastScore = w.score;
  lastBossActive = Load(w.bossActive);
}

class WholeGameTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    game.beforeFrame = [this](const HeadlessGame& g) {
      bossBefore = {g.world->boss.x, g.world->boss.y, g.world->boss.hitPoints};
    };
    game.afterFrame = [this](const HeadlessGame& g) {
      CheckInvariants(*g.world, lastScore, lastBossActive);
      const int32_t direction = Load(g.world->boss.direction);
      if (direction != -1 && (directions.empty() || direction != directions.back().value)) {
        directions.push_back({VirtualNow(), direction});
      }
    };
    OpenGameWindow(game, FixturePictures().Table());
  }

  // Fires one shot every `everyMs` until `done` holds after a frame or `limitMs` pass.
  bool FireUntil(const std::function<bool(const HeadlessGame&)>& done, uint64_t everyMs,
                 uint64_t limitMs) {
    for (uint64_t spent = 0; spent < limitMs; spent += everyMs) {
      PressSpace(game);
      if (RunGameUntil(game, done, everyMs)) return true;
    }
    return false;
  }

  struct Change {
    uint64_t at;
    int32_t value;
  };
  struct BossView {
    int32_t x, y, hitPoints;
  };

  HeadlessGame game;
  int32_t lastScore = 0, lastBossActive = 0;
  std::vector<Change> directions;
  BossView bossBefore{};
};

TEST_F(WholeGameTest, ThePlayerShootsDownTo300AndTheBossRagesAndWanders) {
  // The first frame: the sky, the level flyer at the top-left, no score.
  ASSERT_EQ(game.loop.frames, 0);
  RunGameFor(game, 1);
  EXPECT_EQ(game.loop.frames, 1);
  EXPECT_EQ((*game.frame)[1 * 800 + 1], kFlyerColour);
  EXPECT_TRUE(LabelShows(*game.frame, "Your Point  :          0", 400, 10));

  // Script, part 1: stay at (0, 0), whose shots fly along row 25, through the first enemy's row
  // (20 to 67); from 900 ms fire a shot every 400 ms until the score reaches 300.
  RunGameFor(game, 900);
  EXPECT_EQ((*game.frame)[21 * 800 + 797], kEnemyColour) << "the first enemy shows on row 20";
  ASSERT_TRUE(FireUntil([](const HeadlessGame& g) { return g.world->score >= 300; }, 400, 60000));
  ASSERT_EQ(game.world->score, 310) << "the score stepped over 300: this run has no boss";
  EXPECT_TRUE(LabelShows(*game.frame, "Your Point  :        300", 400, 10));
  const uint64_t trigger = VirtualNow() - game.frameCostMs;  // when the trigger frame ran
  std::vector<CueRecord> cues = TakeCueRecords();
  ASSERT_FALSE(cues.empty());
  EXPECT_TRUE(cues.back().cue == IDR_WAVE_EXPLOSION && cues.back().played);
  // The timed events so far: level flight from the window's creation, a respawn for each of the
  // 30 hits, and the trigger's own, in its order.
  std::vector<TimedEvent> starts = TakeStartedEvents();
  const std::string triggerStarts =
      "ActivateBoss, RestoreBoss, RestoreBoss, RestoreBoss, RestoreBoss, RestoreBoss, RageCycle, "
      "Wander";
  ASSERT_EQ(starts.size(), 1u + 30u + 8u) << EventNames(starts);
  EXPECT_EQ(starts.front(), TimedEvent::LevelFlight);
  EXPECT_EQ(std::count(starts.begin() + 1, starts.end() - 8, TimedEvent::RespawnEnemy), 30);
  EXPECT_EQ(EventNames(std::vector<TimedEvent>(starts.end() - 8, starts.end())), triggerStarts);

  // Summoned: for 200 ms the boss is not on stage and the enemies fly on, blown up.
  RunGameFor(game, 150);
  EXPECT_TRUE(LabelShows(*game.frame, "Your Point  :        310", 400, 10));
  EXPECT_EQ(Load(game.world->bossActive), 0);
  // Every enemy keeps the explosion picture, except the one the last shot struck: its respawn,
  // 100 ms after that hit, gives it back its own.
  for (int slot : {0, 2, 3, 4})
    EXPECT_EQ(Load(game.world->enemies[slot].sprite), IDB_EXPLOSION);
  EXPECT_EQ(Load(game.world->enemies[1].sprite), IDB_ENEMY);
  ASSERT_TRUE(RunGameUntil(
      game, [](const HeadlessGame& g) { return Load(g.world->bossActive); }, 100));
  EXPECT_GE(VirtualNow() - trigger, 200u);

  // Script, part 2: dive to row 200, the boss's row, and fire at it every 250 ms until the first
  // rage, 5 s after the trigger. It is hit already while it holds just beyond the right edge.
  game.held = {.down = true};
  ASSERT_TRUE(RunGameUntil(
      game, [](const HeadlessGame& g) { return g.world->player.y >= 200; }, 2000));
  game.held = {};
  const int32_t fullHitPoints = game.world->boss.hitPoints;
  EXPECT_EQ(fullHitPoints, 999999);
  ASSERT_TRUE(
      FireUntil([](const HeadlessGame& g) { return Load(g.world->enraged) == 1; }, 250, 6000));
  EXPECT_GE(VirtualNow() - trigger, 5000u);
  EXPECT_LT(game.world->boss.hitPoints, fullHitPoints);
  EXPECT_EQ(game.world->boss.entering, 0) << "at ~53 frames a second the slide ends before 5 s";
  EXPECT_EQ(game.world->boss.x, 550);
  cues = TakeCueRecords();
  ASSERT_FALSE(cues.empty());
  bool rageHeard = false;
  for (const CueRecord& c : cues)
    rageHeard |= c.cue == IDR_WAVE_BOSS_RAGE && c.played;
  EXPECT_TRUE(rageHeard);

  // The rage: the rage picture, the enemies rushing, every cue silent, no damage.
  const int32_t rageHitPoints = game.world->boss.hitPoints;
  ASSERT_TRUE(
      FireUntil([](const HeadlessGame& g) { return Load(g.world->enraged) == 0; }, 250, 2500));
  EXPECT_GE(VirtualNow() - trigger, 7000u);
  EXPECT_EQ(game.world->boss.hitPoints, rageHitPoints);
  for (const CueRecord& c : TakeCueRecords()) {
    EXPECT_FALSE(c.played && c.cue != IDR_WAVE_BOSS_RAGE) << c.cue << " was heard in a rage";
  }

  // Wandering: a direction every 2 s from 7 s on, the same order in every run.
  RunGameFor(game, 13000);
  ASSERT_GE(directions.size(), 4u);
  const int32_t expected[] = {1, 3, 2, 0, 1, 0, 2};  // down, right, left, up, ...
  for (size_t i = 0; i < directions.size() && i < std::size(expected); ++i) {
    EXPECT_EQ(directions[i].value, expected[i]) << i;
    EXPECT_NEAR(static_cast<double>(directions[i].at - trigger), 7000.0 + 2000.0 * i, 60.0) << i;
  }

  // What the player sees now: the boss where it stood when the frame began, its hit points above.
  char label[16];
  std::snprintf(label, sizeof label, "%6d", bossBefore.hitPoints);
  EXPECT_TRUE(LabelShows(*game.frame, label, bossBefore.x + 90, bossBefore.y - 20));
  const Pixel boss =
      (*game.frame)[static_cast<size_t>(bossBefore.y + 100) * 800 + bossBefore.x + 90];
  EXPECT_TRUE(boss == kBossColour || boss == kBossHitColour || boss == kBossRageColour);
  EXPECT_GT(game.loop.frames, 53 * 30 * 9 / 10) << "about 53 frames a second";

  // Since the trigger only hits have started events: a restore for each hit that cost the boss a
  // hit point, a respawn for each enemy hit in a rage; no loop was started again.
  starts = TakeStartedEvents();
  EXPECT_EQ(std::count(starts.begin(), starts.end(), TimedEvent::RestoreBoss),
            fullHitPoints - game.world->boss.hitPoints);
  EXPECT_EQ(std::count_if(starts.begin(), starts.end(),
                          [](TimedEvent e) {
                            return e != TimedEvent::RestoreBoss && e != TimedEvent::RespawnEnemy;
                          }),
            0)
      << EventNames(starts);
}

}  // namespace
