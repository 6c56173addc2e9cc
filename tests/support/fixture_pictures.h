// Small pictures built in memory, stored as the game's bitmap resources are, for canvas and frame
// tests that must know every pixel they draw.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"

constexpr Pixel kPureRed = PixelRgb(255, 0, 0);

// A bitmap resource (40-byte header, bottom-up 24-bit padded rows) of width x height whose pixel
// (x, y), y = 0 at the top, is colourAt(x, y).
std::vector<unsigned char> MakeBitmapResource(
    int32_t width, int32_t height, const std::function<Pixel(int32_t, int32_t)>& colourAt);

// A solid figure on pure red: a one-pixel pure-red border, `colour` inside.
std::vector<unsigned char> MakeFigure(int32_t width, int32_t height, Pixel colour);

// The background fixture: every column has its own colour, so a wrap shows which column went where.
Pixel BackgroundFixtureColour(int32_t x, int32_t y);

// A resource table the tests fill picture by picture.
struct FixtureResources {
  std::deque<std::vector<unsigned char>> blobs;
  std::vector<ResourceEntry> entries;

  void Add(uint16_t id, std::vector<unsigned char> bytes, ResourceKind kind = ResourceKind::Bitmap);
  ResourceTable Table() const { return entries; }
};

// Figure colours of the game's pictures in the standard fixture set.
constexpr Pixel kFlyerColour = PixelRgb(10, 200, 10);
constexpr Pixel kFlyerUpColour = PixelRgb(10, 220, 60);
constexpr Pixel kFlyerDownColour = PixelRgb(10, 180, 110);
constexpr Pixel kBulletColour = PixelRgb(250, 160, 20);
constexpr Pixel kEnemyColour = PixelRgb(160, 20, 200);
constexpr Pixel kExplosionColour = PixelRgb(200, 60, 0);
constexpr Pixel kBossColour = PixelRgb(30, 30, 230);
constexpr Pixel kBossHitColour = PixelRgb(240, 240, 240);
constexpr Pixel kBossRageColour = PixelRgb(230, 90, 30);

// Every picture of the game at its real size: the background fixture and solid figures.
FixtureResources StandardFixturePictures();
