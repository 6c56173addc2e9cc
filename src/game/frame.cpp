// RunFrame: the one place where bullets, enemies and the boss move, by pixels per frame.
//
// The order of the steps is the layering of the picture, from the bottom up: background, flyer,
// bullets, boss and its label, enemies, score label. Everything is drawn where it stands when the
// frame begins and moved after it is drawn, so ResolveHits sees the moved positions and the next
// frame draws them.
#include "game/frame.h"

#include <cstdio>

#include "game/boss.h"
#include "game/hits.h"

namespace {

constexpr int32_t kBulletStep = 20;         // pixels to the right a frame
constexpr int32_t kBulletFreeAfterX = 800;  // freed once its x passes this
constexpr int32_t kBulletDrawAbove = 10;    // the picture stands this far above the bullet's y
constexpr int32_t kEnemyStep = 5;           // pixels to the left a frame
constexpr int32_t kEnemyRageStep = 30;      // while the boss is enraged
constexpr int32_t kEnemyWrapX = -40;        // an enemy left of this starts again...
constexpr int32_t kEnemyRestartX = 800;     // ...here, keeping its picture
constexpr int32_t kScoreLabelX = 400;       // centre
constexpr int32_t kScoreLabelY = 10;        // top
constexpr const char* kScoreCaption = "Your Point ";
constexpr int32_t kScrollCycle = 800;  // the background's width in pixels

void BulletPass(GameWorld& world, FrameCanvas& canvas) {
  // The bullet picture is fetched once for the whole pass, even when no bullet is live.
  OpenSpriteBatch(canvas, IDB_BULLET);
  for (BulletSlot& bullet : world.bullets) {
    if (!bullet.alive) continue;
    DrawSpriteBatch(canvas, bullet.x, bullet.y - kBulletDrawAbove);
    bullet.x += kBulletStep;
    if (bullet.x > kBulletFreeAfterX) bullet.alive = 0;
  }
  CloseSpriteBatch(canvas);
}

void EnemyPass(GameWorld& world, FrameCanvas& canvas) {
  for (EnemySlot& enemy : world.enemies) {
    if (!enemy.alive) continue;
    // Unsigned difference: right across a wrap of the tick count.
    const uint32_t elapsed = SysTickCount() - world.startTick;
    if (elapsed <= enemy.appearMs) continue;
    DrawSprite(canvas, static_cast<SpriteId>(Load(enemy.sprite)), Load(enemy.x), enemy.y);
    // Read, change, write back: a respawn that lands between this read and the store is
    // overwritten. Intended, and harmless: the enemy just goes on from where it was.
    int32_t x = Load(enemy.x) - (Load(world.enraged) ? kEnemyRageStep : kEnemyStep);
    if (x < kEnemyWrapX) x = kEnemyRestartX;  // the picture stays as it is, explosion included
    Store(enemy.x, x);
  }
}

}  // namespace

void RunFrame(GameWorld& world, FrameCanvas& canvas) {
  DrawBackground(canvas, world.scrollOffset);
  DrawSprite(canvas, static_cast<SpriteId>(Load(world.player.sprite)), world.player.x,
             world.player.y);
  BulletPass(world, canvas);
  if (Load(world.bossActive)) UpdateBoss(world, canvas);
  // While the boss is calm the enemies are frozen and hidden; a rage brings them back.
  if (!Load(world.bossActive) || Load(world.enraged)) EnemyPass(world, canvas);
  ResolveHits(world);
  char* label = LabelText(canvas);
  std::snprintf(label, kLabelTextSize, "%s : %10d", kScoreCaption, world.score);
  DrawLabel(canvas, label, kScoreLabelX, kScoreLabelY);
  CheckBossTrigger(world);  // last, so the frame that reaches 300 still shows 300
}

void ScrollBackground(GameWorld& world) {
  const int32_t offset = world.scrollOffset <= -kScrollCycle ? 0 : world.scrollOffset;
  world.scrollOffset = offset - 1;
}
