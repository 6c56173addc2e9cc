// The world record: every piece of game state in one place, with fixed-size tables.
//
// The program has exactly one GameWorld with static storage (see the shells); the rules take it by
// reference. Fields that the timed events (events.cpp) touch from their own threads are relaxed
// 32-bit atomics, read and written whole through Load/Store below; every other field belongs to the
// user-interface thread alone. Default member initialisers give the values at program start.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// Resource number of a picture (a 24-bit bitmap resource).
enum SpriteId : uint16_t {
  IDB_BACKGROUND = 104,
  IDB_PLAYER = 105,
  IDB_BULLET = 106,
  IDB_ENEMY = 107,
  IDB_EXPLOSION = 108,
  IDB_BOSS = 111,
  IDB_BOSS_HIT = 112,
  IDB_BOSS_RAGE = 113,
  IDB_PLAYER_UP = 120,
  IDB_PLAYER_DOWN = 121,
};

// Resource number of a sound (a "WAVE" resource holding a whole RIFF image).
enum CueId : uint16_t {
  IDR_WAVE_EXPLOSION = 114,
  IDR_WAVE_BOSS_HIT = 116,
  IDR_WAVE_BOSS_RAGE = 117,
};

// A field shared with the timed-event threads. Every access is one indivisible relaxed load or
// store: no lock, and no ordering between fields, which the game never needs.
using SharedInt = std::atomic<int32_t>;

inline int32_t Load(const SharedInt& field) {
  return field.load(std::memory_order_relaxed);
}
inline void Store(SharedInt& field, int32_t value) {
  field.store(value, std::memory_order_relaxed);
}

constexpr int kBulletSlots = 20;
constexpr int kEnemySlots = 50;  // only slots 0 to 4 are ever filled

struct PlayerShip {
  int32_t x = 0;                 // left edge
  int32_t y = 0;                 // top edge
  SharedInt sprite{IDB_PLAYER};  // also written by LevelFlightLoop
};

struct BulletSlot {
  int32_t alive = 0;  // 0: free for FireBullet
  int32_t x = 0;
  int32_t y = 0;      // the picture is drawn 10 pixels above this
  int32_t width = 0;  // hit box only; the picture is drawn at its own size
  int32_t height = 0;
};

struct EnemySlot {
  uint32_t appearMs = 0;  // drawn and moved only once more than this has passed since startTick
  int32_t alive = 0;
  SharedInt sprite{0};  // IDB_ENEMY flying, IDB_EXPLOSION struck
  SharedInt x{0};       // also written by RespawnEnemyLater
  int32_t y = 0;        // fixed flight row
  int32_t width = 0;    // hit box only
  int32_t height = 0;
};

struct BossState {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;  // size of the picture drawn last; the boss's hit box
  int32_t height = 0;
  SharedInt sprite{IDB_BOSS};
  int32_t hitPoints = 999999;  // no floor: it may go below zero, and nothing happens at zero
  SharedInt direction{-1};     // 0 up, 1 down, 2 left, 3 right; anything else: no wander move
  int32_t entering = 1;        // still sliding in from the right edge
  int32_t holdFrames = 0;      // frames counted before the boss starts to move
};

struct GameWorld {
  std::array<BulletSlot, kBulletSlots> bullets{};
  std::array<EnemySlot, kEnemySlots> enemies{};
  PlayerShip player;
  BossState boss;
  int32_t score = 0;
  int32_t scrollOffset = 0;  // 0 before the first scroll tick, then -1 .. -800
  uint32_t startTick = 0;    // tick count taken by ResetWorld
  SharedInt bossActive{0};   // once 1, stays 1
  SharedInt enraged{0};
  uint32_t randomSeed = 1;  // NextRandom's state; only WanderLoop's thread draws from it
};

// Empties both tables, writes the enemy roster and records the start tick. Called once, when the
// game window is created, before any timed event exists.
void ResetWorld(GameWorld& world);
