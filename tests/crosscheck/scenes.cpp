#include "crosscheck/scenes.h"

#include <cstdio>

#include "game/platform.h"

namespace {

constexpr uint32_t kStartTick = 100000;

// Everything the test's clock needs: it stands still while a scene is drawn.
uint32_t stillTick = kStartTick;

void PutEnemy(GameWorld& world, int slot, SpriteId sprite, int32_t x, int32_t y) {
  EnemySlot& enemy = world.enemies[slot];
  enemy.alive = 1;
  enemy.appearMs = 0;
  Store(enemy.sprite, sprite);
  Store(enemy.x, x);
  enemy.y = y;
}

void PutBullet(GameWorld& world, int slot, int32_t x, int32_t y) {
  BulletSlot& bullet = world.bullets[slot];
  bullet.alive = 1;
  bullet.x = x;
  bullet.y = y;  // the picture is drawn 10 pixels above
  bullet.width = 10;
  bullet.height = 10;
}

void PutBoss(GameWorld& world, SpriteId sprite, int32_t x, int32_t y, bool enraged) {
  Store(world.bossActive, 1);
  Store(world.enraged, enraged ? 1 : 0);
  Store(world.boss.sprite, sprite);
  world.boss.x = x;
  world.boss.y = y;
  world.score = 310;
}

// The first frame of a game: the clock stands at the reset, so no enemy is due yet.
void Start(GameWorld& world) {
  stillTick = world.startTick;
}

void ScrollOne(GameWorld& world) {
  world.scrollOffset = -1;
  PutEnemy(world, 1, IDB_ENEMY, 600, 20);
}

void ScrollHalf(GameWorld& world) {
  world.scrollOffset = -400;
  world.player.x = 200;
  world.player.y = 300;
  PutBullet(world, 0, 380, 320);
  PutEnemy(world, 0, IDB_ENEMY, 395, 200);
  PutEnemy(world, 1, IDB_EXPLOSION, 120, 20);
}

void ScrollWhole(GameWorld& world) {
  world.scrollOffset = -800;
  Store(world.player.sprite, IDB_PLAYER_UP);
  world.player.x = 50;
  world.player.y = 80;
}

// Half in, half out across the left and the top edge, and wholly off them.
void LeftAndTopEdges(GameWorld& world) {
  world.scrollOffset = -123;
  world.player.x = -20;
  world.player.y = -20;
  PutEnemy(world, 0, IDB_ENEMY, -20, 200);      // half out
  PutEnemy(world, 1, IDB_ENEMY, -20, -30);      // both edges at once
  PutEnemy(world, 2, IDB_EXPLOSION, -33, 500);  // its last few columns in
  PutEnemy(world, 3, IDB_ENEMY, 300, -47);      // just above: nothing shows
  PutEnemy(world, 4, IDB_ENEMY, -45, 400);      // just left: nothing shows
  PutBullet(world, 0, -5, 45);
  PutBullet(world, 1, -11, 100);  // wholly left
  PutBullet(world, 2, 400, -1);   // drawn from row -11: one row shows
}

// Half in, half out across the right and the bottom edge, and just beyond them.
void RightAndBottomEdges(GameWorld& world) {
  world.scrollOffset = -799;
  world.player.x = 690;
  world.player.y = 580;
  PutEnemy(world, 0, IDB_ENEMY, 760, 553);  // its last column and row are the canvas's
  PutEnemy(world, 1, IDB_ENEMY, 799, 599);  // one pixel in
  PutEnemy(world, 2, IDB_EXPLOSION, 785, 100);
  PutEnemy(world, 3, IDB_ENEMY, 800, 300);  // beyond the right edge
  PutEnemy(world, 4, IDB_ENEMY, 300, 600);  // beyond the bottom edge
  PutBullet(world, 0, 795, 300);
  PutBullet(world, 1, 100, 599);
}

// The boss across the right and bottom edges, its label beyond them.
void BossAtTheCorner(GameWorld& world) {
  world.scrollOffset = -600;
  PutBoss(world, IDB_BOSS_HIT, 700, 480, false);
  world.boss.hitPoints = 999990;
}

// Far off the canvas in every direction: nothing but the background and the score.
void FarOutside(GameWorld& world) {
  world.scrollOffset = -17;
  world.player.x = -5000;
  world.player.y = 40;
  PutEnemy(world, 0, IDB_ENEMY, 4000, 200);
  PutEnemy(world, 1, IDB_ENEMY, 300, -3000);
  PutEnemy(world, 2, IDB_ENEMY, 300, 9000);
}

// Everything at once: all bullets, the boss enraged with the enemies rushing, both pictures of
// the enemies, the diving flyer and the two labels.
void Busy(GameWorld& world) {
  world.scrollOffset = -237;
  Store(world.player.sprite, IDB_PLAYER_DOWN);
  world.player.x = 150;
  world.player.y = 260;
  for (int slot = 0; slot < kBulletSlots; ++slot)
    PutBullet(world, slot, 268 + 27 * slot, 280 + (slot % 5) * 37 - 60);
  PutBoss(world, IDB_BOSS_RAGE, 480, 150, true);
  world.boss.hitPoints = 998765;
  PutEnemy(world, 0, IDB_ENEMY, 520, 200);  // over the boss
  PutEnemy(world, 1, IDB_EXPLOSION, 300, 20);
  PutEnemy(world, 2, IDB_ENEMY, 40, 500);
  PutEnemy(world, 3, IDB_EXPLOSION, 650, 100);
  PutEnemy(world, 4, IDB_ENEMY, 170, 250);  // over the flyer
}

constexpr Scene kScenes[] = {
    {"start", Start},
    {"scroll-1", ScrollOne},
    {"scroll-400", ScrollHalf},
    {"scroll-800", ScrollWhole},
    {"edges-left-top", LeftAndTopEdges},
    {"edges-right-bottom", RightAndBottomEdges},
    {"boss-corner", BossAtTheCorner},
    {"far-outside", FarOutside},
    {"busy", Busy},
};

}  // namespace

std::span<const Scene> CrossCheckScenes() {
  return kScenes;
}

void BuildScene(const Scene& scene, GameWorld& world) {
  stillTick = kStartTick;
  ResetWorld(world);
  stillTick = kStartTick + 10000;  // every roster enemy is due
  scene.build(world);
}

std::vector<SceneLabel> SceneLabels(const GameWorld& world) {
  std::vector<SceneLabel> labels;
  char text[64];
  if (Load(world.bossActive)) {
    std::snprintf(text, sizeof text, "%6d", world.boss.hitPoints);
    labels.push_back({text, world.boss.x + 90, world.boss.y - 20});
  }
  std::snprintf(text, sizeof text, "Your Point  : %10d", world.score);
  labels.push_back({text, 400, 10});
  return labels;
}

std::string FramePath(const std::string& dir, const Scene& scene, const char* canvas) {
  return dir + "/" + scene.name + "." + canvas + ".frame";
}

std::string LabelBoxPath(const std::string& dir, const Scene& scene, const char* canvas) {
  return dir + "/" + scene.name + "." + canvas + ".labels";
}

// ---- The still platform: a clock that stands, events that never start, no sounds -------------

uint32_t SysTickCount() {
  return stillTick;
}

void SysSleep(uint32_t) {}

void SysStartThread(TimedEvent, EventRoutine, GameWorld&, int32_t) {}  // the event does not happen

CueWave SysFindCue(CueId) {
  return {};
}
void SysStartCue(const CueWave&) {}
void SysReleaseCue(const CueWave&) {}
