// The six timed events and NextRandom.
//
// Each public operation starts its body on a new thread through the platform and returns. The
// pauses are relative sleeps: a loop's period is its pause plus its own work, and nothing realigns
// the loops to a clock or to each other.
#include "game/events.h"

#include "game/cues.h"
#include "game/platform.h"

namespace {

constexpr uint32_t kRespawnDelayMs = 100;
constexpr uint32_t kRestoreDelayMs = 300;
constexpr uint32_t kActivateDelayMs = 200;
constexpr uint32_t kLevelFlightPeriodMs = 200;
constexpr uint32_t kCalmMs = 5000;         // between rages
constexpr uint32_t kWanderStartMs = 5000;  // once, before the wander loop's first 2 s pause
constexpr uint32_t kRageMs = 2000;
constexpr uint32_t kWanderPeriodMs = 2000;
constexpr int32_t kRespawnX = 800;

void RespawnEnemyBody(GameWorld& world, int32_t slot) {
  SysSleep(kRespawnDelayMs);
  EnemySlot& enemy = world.enemies[slot];  // callers pass only slots in use
  Store(enemy.x, kRespawnX);
  Store(enemy.sprite, IDB_ENEMY);
}

void RestoreBossBody(GameWorld& world, int32_t) {
  SysSleep(kRestoreDelayMs);
  // Test, then write: a rage that begins in between keeps the calm picture; harmless.
  if (!Load(world.enraged)) Store(world.boss.sprite, IDB_BOSS);
}

void ActivateBossBody(GameWorld& world, int32_t) {
  SysSleep(kActivateDelayMs);
  Store(world.bossActive, 1);
}

void LevelFlightBody(GameWorld& world, int32_t) {
  for (;;) {
    SysSleep(kLevelFlightPeriodMs);
    Store(world.player.sprite, IDB_PLAYER);
  }
}

void RageCycleBody(GameWorld& world, int32_t) {
  for (;;) {
    SysSleep(kCalmMs);
    PlayCue(world, IDR_WAVE_BOSS_RAGE);  // before the flag goes up, so the rage is heard
    Store(world.enraged, 1);
    Store(world.boss.sprite, IDB_BOSS_RAGE);
    SysSleep(kRageMs);
    Store(world.boss.sprite, IDB_BOSS);
    Store(world.enraged, 0);
  }
}

void WanderBody(GameWorld& world, int32_t) {
  SysSleep(kWanderStartMs);
  for (;;) {
    SysSleep(kWanderPeriodMs);
    Store(world.boss.direction, NextRandom(world) % 4);
  }
}

}  // namespace

void RespawnEnemyLater(GameWorld& world, int32_t slot) {
  SysStartThread(TimedEvent::RespawnEnemy, RespawnEnemyBody, world, slot);
}
void RestoreBossLater(GameWorld& world) {
  SysStartThread(TimedEvent::RestoreBoss, RestoreBossBody, world, 0);
}
void ActivateBossLater(GameWorld& world) {
  SysStartThread(TimedEvent::ActivateBoss, ActivateBossBody, world, 0);
}
void LevelFlightLoop(GameWorld& world) {
  SysStartThread(TimedEvent::LevelFlight, LevelFlightBody, world, 0);
}
void RageCycleLoop(GameWorld& world) {
  SysStartThread(TimedEvent::RageCycle, RageCycleBody, world, 0);
}
void WanderLoop(GameWorld& world) {
  SysStartThread(TimedEvent::Wander, WanderBody, world, 0);
}

int32_t NextRandom(GameWorld& world) {
  // A linear congruential generator; unsigned arithmetic wraps modulo 2^32.
  world.randomSeed = world.randomSeed * 214013u + 2531011u;
  return static_cast<int32_t>((world.randomSeed >> 16) & 0x7FFF);
}
