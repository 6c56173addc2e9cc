// Deterministic maths for the generator: sine, exponential, arctangent, noise and random numbers
// made only of exactly rounded operations, so the pictures and sounds come out the same each run.
#include <cmath>

#include "resgen.h"

namespace resgen {

namespace {

constexpr double kHalfPi = kPi / 2;
constexpr double kLn2 = 0.69314718055994530942;

// Taylor series around 0, good to double precision for |r| <= pi/4.
double SinSeries(double r) {
  const double r2 = r * r;
  double term = r;
  double sum = r;
  for (int n = 1; n <= 10; ++n) {
    term *= -r2 / ((2.0 * n) * (2.0 * n + 1));
    sum += term;
  }
  return sum;
}

double CosSeries(double r) {
  const double r2 = r * r;
  double term = 1;
  double sum = 1;
  for (int n = 1; n <= 10; ++n) {
    term *= -r2 / ((2.0 * n - 1) * (2.0 * n));
    sum += term;
  }
  return sum;
}

// Arctangent for 0 <= z <= 1.
double AtanUnit(double z) {
  double offset = 0;
  if (z > 0.41421356237309504880) {  // tan(pi/8): fold onto the smaller range
    offset = kPi / 4;
    z = (z - 1) / (z + 1);
  }
  const double z2 = z * z;
  double power = z;
  double sum = 0;
  for (int n = 0; n < 40; ++n) {
    sum += ((n % 2 == 0) ? power : -power) / (2 * n + 1);
    power *= z2;
  }
  return offset + sum;
}

uint32_t HashCell(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double CellValue(int32_t x, int32_t y, uint32_t seed) {
  return static_cast<double>(HashCell(x, y, seed) >> 8) / 16777216.0;
}

double Fade(double t) {
  return t * t * t * (t * (t * 6 - 15) + 10);
}

}  // namespace

double Sin(double x) {
  const double k = std::floor(x / kHalfPi + 0.5);
  const double r = x - k * kHalfPi;
  const int quadrant = static_cast<int>(static_cast<int64_t>(k) & 3);
  switch (quadrant) {
    case 0:
      return SinSeries(r);
    case 1:
      return CosSeries(r);
    case 2:
      return -SinSeries(r);
    default:
      return -CosSeries(r);
  }
}

double Cos(double x) {
  return Sin(x + kHalfPi);
}

double Exp(double x) {
  x = Clamp(x, -700, 700);
  const double k = std::floor(x / kLn2 + 0.5);
  const double r = x - k * kLn2;
  double term = 1;
  double sum = 1;
  for (int n = 1; n <= 16; ++n) {
    term *= r / n;
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(k));  // scaling by a power of two is exact
}

double Atan2(double y, double x) {
  if (x == 0 && y == 0) return 0;
  const double ax = std::fabs(x);
  const double ay = std::fabs(y);
  double angle = (ay <= ax) ? AtanUnit(ay / ax) : kHalfPi - AtanUnit(ax / ay);
  if (x < 0) angle = kPi - angle;
  return (y < 0) ? -angle : angle;
}

double Clamp(double v, double lo, double hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

double Mix(double a, double b, double t) {
  return a + (b - a) * t;
}

double SmoothStep(double edge0, double edge1, double x) {
  const double t = Clamp((x - edge0) / (edge1 - edge0), 0, 1);
  return t * t * (3 - 2 * t);
}

uint64_t NextBits(Rng& rng) {
  uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double NextUnit(Rng& rng) {
  return static_cast<double>(NextBits(rng) >> 11) / 9007199254740992.0;
}

double NextRange(Rng& rng, double lo, double hi) {
  return lo + (hi - lo) * NextUnit(rng);
}

double ValueNoise(double x, double y, uint32_t seed, int periodX) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  int32_t x0 = static_cast<int32_t>(fx);
  const int32_t y0 = static_cast<int32_t>(fy);
  int32_t x1 = x0 + 1;
  if (periodX > 0) {
    x0 = ((x0 % periodX) + periodX) % periodX;
    x1 = ((x1 % periodX) + periodX) % periodX;
  }
  const double tx = Fade(x - fx);
  const double ty = Fade(y - fy);
  const double top = Mix(CellValue(x0, y0, seed), CellValue(x1, y0, seed), tx);
  const double bottom = Mix(CellValue(x0, y0 + 1, seed), CellValue(x1, y0 + 1, seed), tx);
  return Mix(top, bottom, ty);
}

double FractalNoise(double x, double y, uint32_t seed, int octaves, int periodX) {
  double sum = 0;
  double weight = 0;
  double amplitude = 1;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += amplitude * ValueNoise(x, y, seed + 101u * octave, periodX);
    weight += amplitude;
    amplitude *= 0.5;
    x *= 2;
    y *= 2;
    periodX *= 2;
  }
  return sum / weight;
}

Rgb MixRgb(Rgb a, Rgb b, double t) {
  return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}
Rgb ScaleRgb(Rgb a, double k) {
  return {a.r * k, a.g * k, a.b * k};
}
Rgb AddRgb(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}

Image MakeImage(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  Image image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < image.rgb.size(); i += 3) {
    image.rgb[i] = r;
    image.rgb[i + 1] = g;
    image.rgb[i + 2] = b;
  }
  return image;
}

}  // namespace resgen
