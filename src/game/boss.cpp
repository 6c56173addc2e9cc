// CheckBossTrigger and UpdateBoss.
//
// The trigger tests for exactly 300 once a frame, so a score that steps over 300 within one frame
// never brings the boss: intended, a run may have no boss at all. Once summoned, the boss stays
// for the rest of the run; nothing resets its hold or its slide.
#include "game/boss.h"

#include <cstdio>

#include "game/cues.h"
#include "game/events.h"

namespace {

constexpr int32_t kTriggerScore = 300;
constexpr int32_t kScoreAfterTrigger = 310;
constexpr int32_t kArrivalX = 800;  // just beyond the right edge
constexpr int32_t kArrivalY = 200;
constexpr int32_t kHoldFrames = 101;  // frames standing still before the first move
constexpr int32_t kStep = 3;          // pixels a frame, slide and wander alike
constexpr int32_t kSlideEndX = 550;
constexpr int32_t kMinX = 100;
constexpr int32_t kMaxX = 600;
constexpr int32_t kMinY = 30;
constexpr int32_t kMaxY = 400;
constexpr int32_t kLabelOffsetX = 90;  // the hit-points label is centred on x + 90...
constexpr int32_t kLabelRise = 20;     // ...with its top 20 pixels above the boss

enum Direction : int32_t { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

void Wander(BossState& boss, int32_t direction) {
  switch (direction) {
    case kUp:
      boss.y -= kStep;
      if (boss.y < kMinY) boss.y = kMinY;
      break;
    case kDown:
      boss.y += kStep;
      if (boss.y > kMaxY) boss.y = kMaxY;
      break;
    case kLeft:
      boss.x -= kStep;
      if (boss.x < kMinX) boss.x = kMinX;
      break;
    case kRight:
      boss.x += kStep;
      if (boss.x > kMaxX) boss.x = kMaxX;
      break;
    default:  // -1 until WanderLoop first writes: no move
      break;
  }
}

}  // namespace

void CheckBossTrigger(GameWorld& world) {
  if (world.score != kTriggerScore) return;
  world.score = kScoreAfterTrigger;
  ActivateBossLater(world);
  world.boss.x = kArrivalX;
  world.boss.y = kArrivalY;
  // Every live enemy is blown up; the event started for each is the boss's restore, not a
  // respawn, so these enemies keep the explosion picture until a bullet hits them. Intended.
  for (EnemySlot& enemy : world.enemies) {
    if (!enemy.alive) continue;
    Store(enemy.sprite, IDB_EXPLOSION);
    PlayCue(world, IDR_WAVE_EXPLOSION);
    RestoreBossLater(world);
  }
  RageCycleLoop(world);
  WanderLoop(world);
}

void UpdateBoss(GameWorld& world, FrameCanvas& canvas) {
  BossState& boss = world.boss;
  const SpriteSize size =
      DrawSprite(canvas, static_cast<SpriteId>(Load(boss.sprite)), boss.x, boss.y);
  boss.width = size.width;
  boss.height = size.height;

  char* label = LabelText(canvas);
  std::snprintf(label, kLabelTextSize, "%6d", boss.hitPoints);
  DrawLabel(canvas, label, boss.x + kLabelOffsetX, boss.y - kLabelRise);

  // Moves come after the drawing: the next frame shows them, this frame's hit test already uses
  // them.
  if (boss.holdFrames < kHoldFrames) {
    ++boss.holdFrames;
    return;
  }
  if (boss.entering) {
    boss.x -= kStep;
    if (boss.x < kSlideEndX) {
      boss.x = kSlideEndX;
      boss.entering = 0;
    }
  }
  Wander(boss, Load(boss.direction));
}
