// The resource generator: draws the game's pictures and synthesises its sounds from code, so the
// files in res/ can be made again byte for byte.
//
// Only exactly rounded operations are used on doubles (+, -, *, /, sqrt, floor, fabs and scaling
// by powers of two), with our own sine, exponential and arctangent built from them, and our own
// random generator: the output does not depend on the C library's maths functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

// ---- Deterministic maths ------------------------------------------------------------------

inline constexpr double kPi = 3.14159265358979323846;

double Sin(double x);
double Cos(double x);
double Exp(double x);
double Atan2(double y, double x);
double Clamp(double v, double lo, double hi);
double Mix(double a, double b, double t);
double SmoothStep(double edge0, double edge1, double x);

// SplitMix64: a small, fixed generator, so every run draws the same numbers.
struct Rng {
  uint64_t state;
};
uint64_t NextBits(Rng& rng);
double NextUnit(Rng& rng);  // in [0, 1)
double NextRange(Rng& rng, double lo, double hi);

// Smooth value noise in [0, 1] on an integer lattice hashed with `seed`; `periodX` > 0 makes it
// repeat every periodX lattice cells along x (for the background, which wraps round).
double ValueNoise(double x, double y, uint32_t seed, int periodX);
double FractalNoise(double x, double y, uint32_t seed, int octaves, int periodX);

// ---- Pictures -----------------------------------------------------------------------------

struct Rgb {
  double r, g, b;  // 0 to 255
};
Rgb MixRgb(Rgb a, Rgb b, double t);
Rgb ScaleRgb(Rgb a, double k);
Rgb AddRgb(Rgb a, Rgb b);

// A 24-bit picture, rows from the top, bytes in red, green, blue order.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};
Image MakeImage(int width, int height, uint8_t r, uint8_t g, uint8_t b);
inline uint8_t* PixelAt(Image& image, int x, int y) {
  return &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
}
inline const uint8_t* PixelAt(const Image& image, int x, int y) {
  return &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
}

// The transparent colour of every sprite.
inline constexpr uint8_t kKeyR = 255, kKeyG = 0, kKeyB = 0;
// The colour of the background's top rows and of the label boxes.
inline constexpr uint8_t kSkyTopR = 42, kSkyTopG = 46, kSkyTopB = 115;

enum class FlyerPose { Level, Climbing, Diving };
enum class BossMood { Calm, Struck, Enraged };

Image DrawBackground();
Image DrawFlyer(FlyerPose pose);
Image DrawBullet();
Image DrawEnemy();
Image DrawExplosion();
Image DrawBoss(BossMood mood);
Image DrawFlyerIcon(int size);

// The level flyer's outlines in its model's own units, and how the sprite places them: sprite x =
// model x + shift x, sprite y = model y * scaleY + shift y. For the scalable icon.
struct Point {
  double x, y;
};
struct FlyerModel {
  std::vector<Point> hull, fin, wing, nozzle;
  double flameLength = 0;
  double spriteScaleY = 1;
  Point spriteShift = {0, 0};
};
FlyerModel LevelFlyerModel();

// A picture with a transparency channel: rows from the top, bytes red, green, blue, alpha.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};
// The desktop icon of `size` pixels: the flyer icon drawn at twice the size, its pure red made
// transparent, each 2 x 2 block averaged into one pixel (so the edges are smooth).
RgbaImage MakeIcon(int size);
// The same icon as scalable vector graphics: the flyer's outlines with flat and graded fills.
std::string MakeIconSvg();

// ---- Sounds -------------------------------------------------------------------------------

// Interleaved 16-bit stereo frames at 44100 Hz.
struct Wave {
  std::vector<int16_t> samples;
};
inline constexpr int kSampleRate = 44100;

Wave MakeExplosionSound(size_t frames);
Wave MakeBossHitSound(size_t frames);
Wave MakeBossRageSound(size_t frames);

// ---- Files --------------------------------------------------------------------------------

std::vector<uint8_t> EncodeBmp(const Image& image);
std::vector<uint8_t> EncodeWav(const Wave& wave);
std::vector<uint8_t> EncodePng(const Image& image);
std::vector<uint8_t> EncodePng(const RgbaImage& image);

}  // namespace resgen
