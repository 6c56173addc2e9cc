// ResolveHits: the only place where bullets meet targets.
//
// A hit is one point of the bullet, its tip (x + width, y + height / 2), inside a target's box,
// all four sides closed. Enemy boxes are the slot's own 48 x 47, whatever picture is drawn, and
// an enemy is a target while it waits for its time and while it shows the explosion: every such
// hit scores again. A calm boss shields the enemies; an enraged one scores without damage and lets
// the same bullet go on to the enemies. The flags are read anew for every bullet, so a timed event
// that lands mid-pass rules the bullets after it.
#include "game/hits.h"

#include "game/cues.h"
#include "game/events.h"

namespace {

constexpr int32_t kPointsPerHit = 10;

struct Point {
  int32_t x;
  int32_t y;
};

Point TipOf(const BulletSlot& bullet) {
  return {bullet.x + bullet.width, bullet.y + bullet.height / 2};
}

bool InBox(Point p, int32_t x, int32_t y, int32_t width, int32_t height) {
  return x <= p.x && p.x <= x + width && y <= p.y && p.y <= y + height;
}

void TestBoss(GameWorld& world, BulletSlot& bullet, Point tip) {
  BossState& boss = world.boss;
  if (!InBox(tip, boss.x, boss.y, boss.width, boss.height)) return;
  world.score += kPointsPerHit;  // in a rage too
  if (!Load(world.enraged)) {
    boss.hitPoints -= 1;  // no floor
    PlayCue(world, IDR_WAVE_BOSS_HIT);
    Store(boss.sprite, IDB_BOSS_HIT);
    RestoreBossLater(world);
  }
  bullet.alive = 0;
}

// One bullet scores on every enemy box that holds its tip; the scan does not stop at a hit.
void TestEnemies(GameWorld& world, BulletSlot& bullet, Point tip) {
  for (int32_t slot = 0; slot < kEnemySlots; ++slot) {
    EnemySlot& enemy = world.enemies[slot];
    if (!enemy.alive) continue;
    if (!InBox(tip, Load(enemy.x), enemy.y, enemy.width, enemy.height)) continue;
    Store(enemy.sprite, IDB_EXPLOSION);
    world.score += kPointsPerHit;
    PlayCue(world, IDR_WAVE_EXPLOSION);
    RespawnEnemyLater(world, slot);
    bullet.alive = 0;
  }
}

}  // namespace

void ResolveHits(GameWorld& world) {
  for (BulletSlot& bullet : world.bullets) {
    if (!bullet.alive) continue;
    const Point tip = TipOf(bullet);
    if (Load(world.bossActive)) TestBoss(world, bullet, tip);
    // A calm boss on stage shields the enemies, whether this bullet struck it or not.
    if (Load(world.bossActive) && !Load(world.enraged)) continue;
    TestEnemies(world, bullet, tip);
  }
}
