#include "support/fixture_pictures.h"

std::vector<unsigned char> MakeBitmapResource(
    int32_t width, int32_t height, const std::function<Pixel(int32_t, int32_t)>& colourAt) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<unsigned char> bytes(40 + stride * height, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(width));
  put32(8, static_cast<uint32_t>(height));
  bytes[12] = 1;   // planes
  bytes[14] = 24;  // bits per pixel
  put32(20, static_cast<uint32_t>(stride * height));
  for (int32_t y = 0; y < height; ++y) {
    unsigned char* row = &bytes[40 + stride * (height - 1 - y)];
    for (int32_t x = 0; x < width; ++x) {
      const Pixel p = colourAt(x, y);
      row[x * 3 + 0] = static_cast<unsigned char>(p);
      row[x * 3 + 1] = static_cast<unsigned char>(p >> 8);
      row[x * 3 + 2] = static_cast<unsigned char>(p >> 16);
    }
  }
  return bytes;
}

std::vector<unsigned char> MakeFigure(int32_t width, int32_t height, Pixel colour) {
  return MakeBitmapResource(width, height, [=](int32_t x, int32_t y) {
    const bool border = x == 0 || y == 0 || x == width - 1 || y == height - 1;
    return border ? kPureRed : colour;
  });
}

Pixel BackgroundFixtureColour(int32_t x, int32_t y) {
  return PixelRgb(static_cast<uint8_t>(y & 0x7F), static_cast<uint8_t>(x >> 8),
                  static_cast<uint8_t>(x & 0xFF));
}

void FixtureResources::Add(uint16_t id, std::vector<unsigned char> bytes, ResourceKind kind) {
  blobs.push_back(std::move(bytes));
  entries.push_back({id, kind, blobs.back().data(), blobs.back().size()});
}

FixtureResources StandardFixturePictures() {
  FixtureResources r;
  r.Add(IDB_BACKGROUND, MakeBitmapResource(800, 600, BackgroundFixtureColour));
  r.Add(IDB_PLAYER, MakeFigure(118, 25, kFlyerColour));
  r.Add(IDB_PLAYER_UP, MakeFigure(118, 25, kFlyerUpColour));
  r.Add(IDB_PLAYER_DOWN, MakeFigure(118, 25, kFlyerDownColour));
  r.Add(IDB_BULLET, MakeFigure(11, 11, kBulletColour));
  r.Add(IDB_ENEMY, MakeFigure(40, 47, kEnemyColour));
  r.Add(IDB_EXPLOSION, MakeFigure(39, 40, kExplosionColour));
  r.Add(IDB_BOSS, MakeFigure(179, 198, kBossColour));
  r.Add(IDB_BOSS_HIT, MakeFigure(179, 198, kBossHitColour));
  r.Add(IDB_BOSS_RAGE, MakeFigure(179, 198, kBossRageColour));
  return r;
}
