// PollControls and FireBullet.
//
// The order of the key tests is the game's feel and is kept exactly: Up beats Down; with a
// vertical key held Left is tested before Right, without one Right before Left. The upper limits
// are tested before the step, so the flyer reaches 690 and 540, not 682 and 538.
#include "game/flyer.h"

namespace {

constexpr int32_t kStep = 10;       // pixels a control tick, per axis
constexpr int32_t kLowLimit = -20;  // a coordinate decreases only while above this
constexpr int32_t kMaxY = 538;      // y increases only while below this
constexpr int32_t kMaxX = 682;      // x increases only while below this
constexpr int32_t kNoseX = 118;     // the flyer picture's width: bullets leave at its nose
constexpr int32_t kNoseY = 20;
constexpr int32_t kBulletBox = 10;  // hit box of a bullet, both ways

void StepUp(PlayerShip& p) {
  if (p.y > kLowLimit) p.y -= kStep;
}
void StepDown(PlayerShip& p) {
  if (p.y < kMaxY) p.y += kStep;
}
void StepLeft(PlayerShip& p) {
  if (p.x > kLowLimit) p.x -= kStep;
}
void StepRight(PlayerShip& p) {
  if (p.x < kMaxX) p.x += kStep;
}

// The horizontal step that goes with a vertical one: Left first.
void StepSideways(PlayerShip& p, ArrowKeys keys) {
  if (keys.left) {
    StepLeft(p);
  } else if (keys.right) {
    StepRight(p);
  }
}

}  // namespace

void PollControls(GameWorld& world, ArrowKeys keys) {
  PlayerShip& p = world.player;
  if (keys.up) {
    Store(p.sprite, IDB_PLAYER_UP);
    StepUp(p);
    StepSideways(p, keys);
  } else if (keys.down) {
    Store(p.sprite, IDB_PLAYER_DOWN);
    StepDown(p);
    StepSideways(p, keys);
  } else if (keys.right) {  // level flight: Right first, and the picture is left alone
    StepRight(p);
  } else if (keys.left) {
    StepLeft(p);
  }
}

void FireBullet(GameWorld& world) {
  for (BulletSlot& bullet : world.bullets) {
    if (bullet.alive) continue;
    bullet.alive = 1;
    bullet.x = world.player.x + kNoseX;
    bullet.y = world.player.y + kNoseY;
    bullet.width = kBulletBox;
    bullet.height = kBulletBox;
    return;
  }
  // Every slot is live: the key-down is dropped, not remembered.
}
