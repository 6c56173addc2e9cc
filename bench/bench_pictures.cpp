// BenchPictures: pictures drawn by formula, with the content of the real ones in mind: sky colours
// that change from pixel to pixel, and figures whose outlines are curves.
#include "bench_pictures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Pixel kSkyTop = PixelRgb(42, 46, 115);  // the top 64 rows, apart from the stars
constexpr int32_t kPlainSkyRows = 64;

// A fixed hash of a pixel's place: the same picture on every run.
uint32_t Scatter(int32_t x, int32_t y) {
  uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  return h ^ (h >> 12);
}

uint8_t Channel(double value) {
  return static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
}

Pixel SkyColour(int32_t x, int32_t y) {
  const uint32_t h = Scatter(x, y);
  if (h % 509 == 0) return PixelRgb(235, 235, 255);  // a star
  if (y < kPlainSkyRows) return kSkyTop;
  // Lighter towards the bottom, with a little grain so that no two rows are alike.
  const double t = static_cast<double>(y - kPlainSkyRows) / (599 - kPlainSkyRows);
  const int grain = static_cast<int>(h >> 28) - 8;
  return PixelRgb(Channel(42 + 70 * t + grain), Channel(46 + 80 * t + grain),
                  Channel(115 + 90 * t + grain));
}

// An oval figure filling the picture, shaded from `centre` in the middle to `rim` at its edge, on
// pure red. Neither colour may be pure red; green above 0 keeps every shade clear of it.
std::vector<unsigned char> OvalFigure(int32_t width, int32_t height, Pixel centre, Pixel rim) {
  return MakeBitmapResource(width, height, [=](int32_t x, int32_t y) {
    const double dx = (x + 0.5 - width / 2.0) / (width / 2.0);
    const double dy = (y + 0.5 - height / 2.0) / (height / 2.0);
    const double d = dx * dx + dy * dy;
    if (d > 1.0) return kPureRed;
    auto mix = [d](Pixel a, Pixel b, int shift) {
      const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
      return Channel(ca + (cb - ca) * d);
    };
    return PixelRgb(mix(centre, rim, 16), std::max<uint8_t>(mix(centre, rim, 8), 1),
                    mix(centre, rim, 0));
  });
}

}  // namespace

FixtureResources BenchPictures() {
  FixtureResources r;
  r.Add(IDB_BACKGROUND, MakeBitmapResource(800, 600, SkyColour));
  r.Add(IDB_PLAYER, OvalFigure(118, 25, PixelRgb(220, 230, 240), PixelRgb(60, 90, 140)));
  r.Add(IDB_BULLET, OvalFigure(11, 11, PixelRgb(255, 240, 160), PixelRgb(250, 120, 20)));
  r.Add(IDB_ENEMY, OvalFigure(40, 47, PixelRgb(120, 230, 90), PixelRgb(30, 90, 40)));
  r.Add(IDB_BOSS, OvalFigure(179, 198, PixelRgb(200, 120, 220), PixelRgb(70, 20, 90)));
  return r;
}
