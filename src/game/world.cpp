// ResetWorld: the tables as the game window's creation leaves them.
#include "game/world.h"

#include "game/platform.h"

namespace {

struct RosterRow {
  uint32_t appearMs;
  int32_t y;
};

// The enemy roster, in slot order. It is not in order of appearance: slot 1 shows first.
constexpr RosterRow kRoster[] = {
    {1000, 200}, {800, 20}, {2000, 500}, {3500, 100}, {4000, 250},
};

constexpr int32_t kEnemyStartX = 800;  // just beyond the right edge
constexpr int32_t kEnemyBoxWidth = 48;
constexpr int32_t kEnemyBoxHeight = 47;

}  // namespace

void ResetWorld(GameWorld& world) {
  for (BulletSlot& bullet : world.bullets)
    bullet = BulletSlot{};
  for (EnemySlot& enemy : world.enemies) {
    enemy.appearMs = 0;
    enemy.alive = 0;
    Store(enemy.sprite, 0);
    Store(enemy.x, 0);
    enemy.y = 0;
    enemy.width = 0;
    enemy.height = 0;
  }
  int slot = 0;
  for (const RosterRow& row : kRoster) {
    EnemySlot& enemy = world.enemies[slot++];
    enemy.appearMs = row.appearMs;
    enemy.alive = 1;
    Store(enemy.sprite, IDB_ENEMY);
    Store(enemy.x, kEnemyStartX);
    enemy.y = row.y;
    enemy.width = kEnemyBoxWidth;
    enemy.height = kEnemyBoxHeight;
  }
  world.startTick = SysTickCount();
}
