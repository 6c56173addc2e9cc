// The game's pictures, drawn from shapes: the night sky, the flyer in its three attitudes, the
// bullet, the enemy craft, the burst, and the boss calm, struck and enraged.
//
// Sprites are built from signed distance functions (negative inside a shape), lit as rounded
// relief from the top left and sampled 4 x 4 times per pixel. A pixel belongs to the figure when
// most of its samples do; the samples outside are given the figure's dark outline colour, so edges
// are smoothed towards the outline and never towards the transparent pure red around the figure.
#include <algorithm>
#include <cmath>
#include <vector>

#include "resgen.h"

namespace resgen {

namespace {

// ---- Geometry ------------------------------------------------------------------------------

struct V2 {
  double x, y;
};
V2 operator+(V2 a, V2 b) {
  return {a.x + b.x, a.y + b.y};
}
V2 operator-(V2 a, V2 b) {
  return {a.x - b.x, a.y - b.y};
}
V2 operator*(V2 a, double k) {
  return {a.x * k, a.y * k};
}
double Dot(V2 a, V2 b) {
  return a.x * b.x + a.y * b.y;
}
double Length(V2 a) {
  return std::sqrt(Dot(a, a));
}
V2 Rotate(V2 p, double angle) {
  const double c = Cos(angle);
  const double s = Sin(angle);
  return {p.x * c - p.y * s, p.x * s + p.y * c};
}

double SdCircle(V2 p, V2 centre, double radius) {
  return Length(p - centre) - radius;
}

// Close to the true distance near the edge, which is all the outline and lighting need.
double SdEllipse(V2 p, V2 centre, double rx, double ry) {
  const V2 q = p - centre;
  const double k0 = Length({q.x / rx, q.y / ry});
  const double k1 = Length({q.x / (rx * rx), q.y / (ry * ry)});
  if (k1 < 1e-9) return -std::min(rx, ry);
  return k0 * (k0 - 1) / k1;
}

// A capsule from a to b whose radius runs from ra to rb.
double SdTaper(V2 p, V2 a, V2 b, double ra, double rb) {
  const V2 ab = b - a;
  const double h = Clamp(Dot(p - a, ab) / Dot(ab, ab), 0, 1);
  return Length(p - (a + ab * h)) - Mix(ra, rb, h);
}

double SdPolygon(V2 p, const std::vector<V2>& v) {
  double d = Dot(p - v[0], p - v[0]);
  double sign = 1;
  const size_t n = v.size();
  for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
    const V2 e = v[j] - v[i];
    const V2 w = p - v[i];
    const V2 b = w - e * Clamp(Dot(w, e) / Dot(e, e), 0, 1);
    d = std::min(d, Dot(b, b));
    const bool c1 = p.y >= v[i].y;
    const bool c2 = p.y < v[j].y;
    const bool c3 = e.x * w.y > e.y * w.x;
    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
  }
  return sign * std::sqrt(d);
}

double SmoothUnion(double a, double b, double k) {
  const double h = Clamp(0.5 + 0.5 * (b - a) / k, 0, 1);
  return Mix(b, a, h) - k * h * (1 - h);
}

// ---- Light ---------------------------------------------------------------------------------

double IntPow(double base, int exponent) {
  double result = 1;
  while (exponent > 0) {
    if (exponent & 1) result *= base;
    base *= base;
    exponent >>= 1;
  }
  return result;
}

struct Material {
  Rgb base;
  double bevel;    // how far in from the edge the surface rounds off, in pixels
  double gloss;    // strength of the highlight, 0 to 1
  int shininess;   // tightness of the highlight
  double ambient;  // light that reaches the side turned away
};

// Outward direction of a shape's edge at p, from its distance function.
template <typename F>
V2 OutwardAt(const F& sd, V2 p) {
  constexpr double e = 0.05;
  const V2 g = {sd({p.x + e, p.y}) - sd({p.x - e, p.y}), sd({p.x, p.y + e}) - sd({p.x, p.y - e})};
  const double len = Length(g);
  return len > 1e-12 ? g * (1 / len) : V2{0, 0};
}

// The colour of a rounded surface whose edge lies `depth` pixels away in direction `outward`, lit
// from the upper left and a little from the front.
Rgb LightSurface(const Material& m, V2 outward, double depth) {
  const double t = Clamp(depth / m.bevel, 0, 1);
  const double u = 1 - t;
  const double slope = std::min(3.0, u / std::sqrt(std::max(1e-4, 1 - u * u)));
  double nx = slope * outward.x;
  double ny = slope * outward.y;
  double nz = 1;
  const double inv = 1 / std::sqrt(nx * nx + ny * ny + nz * nz);
  nx *= inv;
  ny *= inv;
  nz *= inv;
  constexpr double lx = -0.48, ly = -0.62, lz = 0.62;  // towards the light, unit length
  const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
  // Half-way vector between the light and the eye (0, 0, 1).
  const double hx = lx, hy = ly, hz = lz + 1;
  const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  const double highlight = IntPow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl), m.shininess);
  const double k = m.ambient + (1 - m.ambient) * diffuse * 1.15;
  return AddRgb(ScaleRgb(m.base, k), ScaleRgb({255, 255, 255}, highlight * m.gloss));
}

template <typename F>
Rgb Lit(const F& sd, V2 p, const Material& m) {
  return LightSurface(m, OutwardAt(sd, p), -sd(p));
}

// ---- Sprite sampling -----------------------------------------------------------------------

struct Sample {
  bool figure;
  Rgb colour;  // for a sample outside the figure: the outline colour that its edge fades to
};

uint8_t ToByte(double v) {
  return static_cast<uint8_t>(Clamp(std::floor(v + 0.5), 0, 255));
}

template <typename Shade>
Image RenderSprite(int width, int height, const Shade& shade) {
  constexpr int kSub = 4;
  Image image = MakeImage(width, height, kKeyR, kKeyG, kKeyB);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int inside = 0;
      Rgb sum = {0, 0, 0};
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          const Sample s = shade(V2{x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub});
          if (s.figure) ++inside;
          sum = AddRgb(sum, s.colour);
        }
      }
      if (inside * 2 <= kSub * kSub) continue;  // mostly outside: transparent
      uint8_t* p = PixelAt(image, x, y);
      p[0] = ToByte(sum.r / (kSub * kSub));
      p[1] = ToByte(sum.g / (kSub * kSub));
      p[2] = ToByte(sum.b / (kSub * kSub));
      if (p[0] == kKeyR && p[1] == kKeyG && p[2] == kKeyB) p[1] = 1;  // a figure is never pure red
    }
  }
  return image;
}

// ---- The flyer -----------------------------------------------------------------------------

constexpr Rgb kFlyerOutline = {16, 20, 36};

struct FlyerShape {
  std::vector<V2> hull;  // fuselage side view
  std::vector<V2> fin;
  std::vector<V2> wing;
  std::vector<V2> nozzle;
  double flame_length;
  // Screen from model: p_screen = rotate(p_model - pivot) * (sx, sy) + offset.
  double angle;
  double scale_y;
  V2 pivot;
  V2 offset;
};

// Fuselage profile: x, top and bottom edge, from the tail to the needle nose.
constexpr double kHullProfile[][3] = {{10, 9.4, 17.4},   {20, 8.4, 18.2},   {45, 8.2, 18.6},
                                      {70, 8.6, 18.4},   {88, 9.8, 17.6},   {100, 11.0, 16.6},
                                      {108, 12.2, 15.6}, {113, 13.0, 14.9}, {117.6, 13.9, 14.2}};

FlyerShape MakeFlyerShape(FlyerPose pose) {
  FlyerShape f;
  std::vector<V2> top, bottom;
  for (const auto& row : kHullProfile) {
    top.push_back({row[0], row[1]});
    bottom.push_back({row[0], row[2]});
  }
  // Walk the top edge to the nose and the bottom edge back, densely, straight between points
  // near the nose so that it stays a point.
  for (size_t i = 0; i + 1 < top.size(); ++i) {
    for (int s = 0; s < 6; ++s) {
      const double t = SmoothStep(0, 1, s / 6.0);
      f.hull.push_back({Mix(top[i].x, top[i + 1].x, s / 6.0), Mix(top[i].y, top[i + 1].y, t)});
    }
  }
  f.hull.push_back(top.back());
  for (size_t i = bottom.size() - 1; i > 0; --i) {
    for (int s = 0; s < 6; ++s) {
      const double t = SmoothStep(0, 1, s / 6.0);
      f.hull.push_back(
          {Mix(bottom[i].x, bottom[i - 1].x, s / 6.0), Mix(bottom[i].y, bottom[i - 1].y, t)});
    }
  }
  f.hull.push_back(bottom.front());
  f.fin = {{10, 10.5}, {16, 2.0}, {24, 1.8}, {34, 9.5}};
  f.wing = {{38, 17.0}, {78, 17.0}, {62, 22.4}, {44, 23.0}, {34, 21.0}};
  f.nozzle = {{4.5, 10.2}, {11, 9.6}, {11, 17.8}, {4.5, 17.2}};
  // Full thrust in the climb, throttled back in the dive.
  f.flame_length = pose == FlyerPose::Climbing ? 11.0 : (pose == FlyerPose::Diving ? 5.5 : 8.0);
  f.angle = pose == FlyerPose::Climbing ? -0.085 : (pose == FlyerPose::Diving ? 0.085 : 0);
  f.pivot = {60, 13.5};

  // Fit the turned figure into 118 x 25: nose on the right edge, centred up and down.
  std::vector<V2> extremes = f.hull;
  extremes.insert(extremes.end(), f.fin.begin(), f.fin.end());
  extremes.insert(extremes.end(), f.wing.begin(), f.wing.end());
  extremes.push_back({5.5 - f.flame_length, 13.7});
  extremes.push_back({84, 4.2});  // canopy top
  double min_y = 1e9, max_y = -1e9, max_x = -1e9;
  for (V2 e : extremes) {
    const V2 r = Rotate(e - f.pivot, f.angle);
    min_y = std::min(min_y, r.y);
    max_y = std::max(max_y, r.y);
    max_x = std::max(max_x, r.x);
  }
  f.scale_y = std::min(1.0, 21.6 / (max_y - min_y));
  f.offset = {117.7 - max_x, 12.5 - 0.5 * (min_y + max_y) * f.scale_y};
  return f;
}

Sample ShadeFlyer(const FlyerShape& f, V2 screen) {
  // Back into the model's own coordinates.
  const V2 scaled = {screen.x - f.offset.x, (screen.y - f.offset.y) / f.scale_y};
  const V2 p = Rotate(scaled, -f.angle) + f.pivot;
  auto to_model = [&](V2 q) {
    const V2 s = {q.x - f.offset.x, (q.y - f.offset.y) / f.scale_y};
    return Rotate(s, -f.angle) + f.pivot;
  };

  auto hull = [&](V2 q) { return SdPolygon(to_model(q), f.hull); };
  auto fin = [&](V2 q) { return SdPolygon(to_model(q), f.fin) - 0.6; };
  auto wing = [&](V2 q) { return SdPolygon(to_model(q), f.wing) - 0.4; };
  auto canopy = [&](V2 q) {
    const V2 m = to_model(q);
    return std::max(SdEllipse(m, {84, 9.6}, 17.0, 5.4), m.y - 11.0);
  };
  auto nozzle = [&](V2 q) { return SdPolygon(to_model(q), f.nozzle) - 0.3; };
  auto flame = [&](V2 q) {
    const V2 m = to_model(q);
    return SdTaper(m, {5.5, 13.7}, {5.5 - f.flame_length, 13.7}, 3.4, 0.5);
  };

  const double d_hull = hull(screen);
  const double d_fin = fin(screen);
  const double d_wing = wing(screen);
  const double d_canopy = canopy(screen);
  const double d_nozzle = nozzle(screen);
  const double d_flame = flame(screen);
  const double body = std::min({d_hull, d_fin, d_wing, d_canopy, d_nozzle});
  const double all = std::min(body, d_flame);

  constexpr Rgb kFlameRim = {150, 48, 14};
  if (all >= 0) {
    const bool flame_edge = d_flame < body;
    const Rgb rim = flame_edge ? kFlameRim : kFlyerOutline;
    return {all < (flame_edge ? 0.6 : 1.0), rim};
  }

  const Material kHullMetal = {{196, 204, 220}, 4.5, 0.55, 24, 0.32};
  const Material kDarkMetal = {{88, 98, 122}, 2.5, 0.35, 16, 0.35};
  const Material kGlass = {{40, 120, 190}, 3.5, 0.9, 40, 0.45};
  const Material kNozzleMetal = {{70, 68, 76}, 2.0, 0.4, 12, 0.4};

  Rgb c;
  if (d_flame < 0 && body >= 0) {
    // Exhaust: white-hot at the nozzle, through yellow to orange at its tip and edges.
    const double along = Clamp((5.5 - p.x) / f.flame_length, 0, 1);
    const double across = Clamp(-d_flame / 3.0, 0, 1);
    const double heat = Clamp(across * (1.1 - along), 0, 1);
    c = MixRgb({235, 90, 20}, {255, 200, 80}, SmoothStep(0.05, 0.45, heat));
    c = MixRgb(c, {255, 250, 225}, SmoothStep(0.45, 0.85, heat));
    return {true, c};
  }
  if (d_wing < 0 && d_hull >= -0.2) {
    c = Lit(wing, screen, kDarkMetal);
  } else if (d_fin < 0 && d_hull >= -0.2) {
    c = Lit(fin, screen, kDarkMetal);
    // A stripe across the fin.
    if (p.x > 21.5 && p.x < 25.5 && p.y < 8.0)
      c = ScaleRgb({200, 60, 45}, 0.7 + 0.3 * (8.0 - p.y) / 5);
  } else if (d_nozzle < 0) {
    c = Lit(nozzle, screen, kNozzleMetal);
    if (p.x < 7.2) c = ScaleRgb(c, 0.6);  // the nozzle's dark lip
  } else if (d_canopy < 0 && d_hull >= -1.2) {
    c = Lit(canopy, screen, kGlass);
    // Tinted glass, darker at the back; a bright streak of reflection.
    c = ScaleRgb(c, 0.75 + 0.25 * Clamp((p.x - 70) / 25, 0, 1));
    if (std::fabs((p.y - 7.6) + 0.12 * (p.x - 88)) < 0.55 && p.x > 78 && p.x < 95) {
      c = MixRgb(c, {235, 250, 255}, 0.75);
    }
  } else {
    // Two-tone hull: pale silver above a red stripe, dark steel blue below it.
    const double stripe_top = 14.0 - 0.03 * (p.x - 60);
    if (p.y < stripe_top) {
      c = Lit(hull, screen, kHullMetal);
    } else {
      const Material kBelly = {{104, 120, 152}, 4.5, 0.35, 20, 0.38};
      c = Lit(hull, screen, kBelly);
    }
    if (p.y >= stripe_top && p.y < stripe_top + 1.3 && p.x > 14 && p.x < 106) {
      c = MixRgb(c, {214, 50, 42}, 0.85);
    }
    if (p.x > 109) c = MixRgb(c, {60, 66, 84}, 0.55);  // the nose cone
    for (double seam : {30.0, 52.0, 100.0}) {
      if (std::fabs(p.x - seam) < 0.35) c = ScaleRgb(c, 0.72);
    }
    // Air intake under the canopy.
    if (p.x > 62 && p.x < 74 && p.y > stripe_top + 1.8 && p.y < stripe_top + 3.6) c = {30, 34, 50};
  }
  // A thin dark line where a part meets the hull keeps the parts apart.
  if (d_hull > -0.45 && d_hull < 0.45 && (d_canopy < 0 || d_fin < 0 || d_wing < 0)) {
    c = MixRgb(c, kFlyerOutline, 0.55);
  }
  if (body > -0.7 && body < 0) c = MixRgb(c, kFlyerOutline, 0.35);
  return {true, c};
}

// ---- The enemy -----------------------------------------------------------------------------

constexpr Rgb kEnemyOutline = {22, 10, 26};

Sample ShadeEnemy(V2 p) {
  // A crescent of hull with its claws pointing forward (left), a pod in its mouth and an eye.
  auto outer = [](V2 q) { return SdEllipse(q, {20.0, 23.5}, 18.6, 21.8); };
  auto inner = [](V2 q) { return SdEllipse(q, {6.5, 23.5}, 15.5, 18.0); };
  auto crescent = [&](V2 q) { return std::max(outer(q), -inner(q)); };
  auto pod = [](V2 q) { return SdEllipse(q, {20.0, 23.5}, 12.0, 8.2); };
  auto eye = [](V2 q) { return SdCircle(q, {13.5, 23.5}, 4.6); };
  // Fangs along the inside of the claws, pointing into the mouth.
  auto teeth = [](V2 q) {
    double d = 1e9;
    for (double degrees : {-72.0, -58.0, -44.0, 44.0, 58.0, 72.0}) {
      const double a = degrees * kPi / 180;
      const V2 root = {6.5 + 16.3 * Cos(a), 23.5 + 18.8 * Sin(a)};
      const V2 tip = {6.5 + 11.6 * Cos(a), 23.5 + 13.5 * Sin(a)};
      d = std::min(d, SdTaper(q, root, tip, 1.7, 0.2));
    }
    return d;
  };

  const double d_crescent = crescent(p);
  const double d_pod = pod(p);
  const double d_teeth = teeth(p);
  const double body = std::min({d_crescent, d_pod, d_teeth});
  if (body >= 0) return {body < 1.0, kEnemyOutline};

  const Material kHull = {{168, 40, 96}, 5.0, 0.5, 20, 0.28};
  const Material kPod = {{92, 84, 122}, 5.0, 0.6, 28, 0.3};
  const Material kBone = {{232, 220, 190}, 1.5, 0.5, 16, 0.45};

  Rgb c;
  const double d_eye = eye(p);
  if (d_eye < 0) {
    // A glowing eye with a dark slit.
    const double r = Length(p - V2{13.5, 23.5}) / 4.6;
    c = MixRgb({255, 255, 190}, {120, 230, 40}, SmoothStep(0.1, 0.8, r));
    c = MixRgb(c, {40, 110, 20}, SmoothStep(0.8, 1.0, r));
    if (std::fabs(p.x - 13.2) < 0.7 && std::fabs(p.y - 23.5) < 3.2) c = {20, 30, 10};
    if (Length(p - V2{12.2, 21.8}) < 0.9) c = {255, 255, 255};
  } else if (d_pod < 0 && (d_crescent >= 0 || p.x < 26)) {
    c = Lit(pod, p, kPod);
    // Ribs across the pod.
    for (double rib : {22.5, 26.5}) {
      if (std::fabs(p.x - rib) < 0.45) c = ScaleRgb(c, 0.65);
    }
    if (d_eye < 1.1) c = MixRgb(c, {20, 12, 24}, 0.8);  // the eye's socket
  } else if (d_teeth < 0 && d_crescent >= 0) {
    c = Lit(teeth, p, kBone);
  } else {
    c = Lit(crescent, p, kHull);
    // Armour seams following the hull, and bone-pale claw tips.
    const double depth = -d_crescent;
    if (std::fabs(depth - 3.4) < 0.35) c = ScaleRgb(c, 0.7);
    if (p.x < 12) c = MixRgb(c, {226, 210, 180}, SmoothStep(12, 5, p.x) * 0.85);
    // Glowing vents along the back.
    for (double vy : {17.0, 23.5, 30.0}) {
      if (p.x > 33.5 && p.x < 37.2 && std::fabs(p.y - vy) < 1.0) c = {120, 250, 90};
    }
  }
  if (body > -0.7) c = MixRgb(c, kEnemyOutline, 0.4);
  return {true, c};
}

// ---- The bullet ----------------------------------------------------------------------------

Sample ShadeBullet(V2 p) {
  const double r = Length(p - V2{5.5, 5.5});
  constexpr Rgb kGlowRim = {170, 50, 12};
  if (r >= 4.6) return {false, kGlowRim};
  Rgb c = MixRgb({255, 255, 240}, {255, 232, 120}, SmoothStep(0.7, 1.9, r));
  c = MixRgb(c, {255, 156, 40}, SmoothStep(1.9, 3.2, r));
  c = MixRgb(c, {214, 74, 16}, SmoothStep(3.2, 4.5, r));
  return {true, c};
}

// ---- The burst -----------------------------------------------------------------------------

struct BurstShape {
  double spike_angle[11];
  double spike_length[11];
  double spike_width[11];
  V2 puff[6];
  double puff_radius[6];
  V2 spark[7];
};

BurstShape MakeBurstShape() {
  BurstShape b;
  Rng rng{0xB0057ull};
  for (int i = 0; i < 11; ++i) {
    b.spike_angle[i] = (i + NextRange(rng, -0.3, 0.3)) * 2 * kPi / 11;
    b.spike_length[i] = NextRange(rng, 3.0, 6.5);
    b.spike_width[i] = NextRange(rng, 0.22, 0.38);
  }
  for (int i = 0; i < 6; ++i) {
    const double a = (i + NextRange(rng, 0, 0.7)) * 2 * kPi / 6 + 0.4;
    const double d = NextRange(rng, 10.5, 12.5);
    b.puff[i] = {19.5 + d * Cos(a), 20 + d * Sin(a)};
    b.puff_radius[i] = NextRange(rng, 3.2, 4.6);
  }
  for (int i = 0; i < 7; ++i) {
    const double a = (i + NextRange(rng, 0.2, 0.8)) * 2 * kPi / 7;
    const double d = NextRange(rng, 15.5, 17.0);
    b.spark[i] = {19.5 + d * Cos(a), 20 + d * 0.95 * Sin(a)};
  }
  return b;
}

Sample ShadeExplosion(const BurstShape& b, V2 p) {
  constexpr Rgb kRim = {70, 14, 8};
  const V2 centre = {19.5, 20};
  const V2 q = p - centre;
  const double angle = Atan2(q.y, q.x);
  double radius = 11.0 + 2.0 * ValueNoise(angle * 2.2 + 10, 0.5, 77u, 0);
  for (int i = 0; i < 11; ++i) {
    double diff = angle - b.spike_angle[i];
    diff -= 2 * kPi * std::floor(diff / (2 * kPi) + 0.5);
    radius += b.spike_length[i] * std::max(0.0, 1 - std::fabs(diff) / b.spike_width[i]);
  }
  radius = std::min(radius, 17.5);
  const double d_fire = Length(q) - radius;

  double d_puff = 1e9;
  int which_puff = 0;
  for (int i = 0; i < 6; ++i) {
    const double d = SdCircle(p, b.puff[i], b.puff_radius[i]);
    if (d < d_puff) {
      d_puff = d;
      which_puff = i;
    }
  }
  double d_spark = 1e9;
  for (const V2& s : b.spark)
    d_spark = std::min(d_spark, SdCircle(p, s, 0.9));

  const double all = std::min({d_fire, d_puff, d_spark});
  if (all >= 0) return {all < 0.7, kRim};

  if (d_spark < 0 && d_fire >= 0 && d_puff >= 0) return {true, {255, 210, 110}};

  // Heat falls from the core outwards, broken up by noise so it does not show rings.
  const double heat_noise = FractalNoise(p.x * 0.35, p.y * 0.35, 913u, 3, 0) - 0.5;
  const double heat = Clamp(1 - Length(q) / radius + heat_noise * 0.45, 0, 1);
  Rgb fire = MixRgb({120, 18, 10}, {196, 44, 14}, SmoothStep(0.0, 0.22, heat));
  fire = MixRgb(fire, {242, 120, 28}, SmoothStep(0.22, 0.45, heat));
  fire = MixRgb(fire, {255, 206, 80}, SmoothStep(0.45, 0.68, heat));
  fire = MixRgb(fire, {255, 250, 220}, SmoothStep(0.72, 0.95, heat));

  if (d_fire < 0 && (d_puff >= 0 || heat > 0.3)) return {true, fire};
  // Smoke puffs at the edge, dark red-brown, lit from the fire within.
  const Material kSmoke = {{96, 40, 34}, 3.0, 0.15, 8, 0.45};
  auto puff = [&](V2 t) { return SdCircle(t, b.puff[which_puff], b.puff_radius[which_puff]); };
  Rgb c = Lit(puff, p, kSmoke);
  if (d_puff > -0.6) c = MixRgb(c, kRim, 0.4);
  return {true, c};
}

// ---- The boss ------------------------------------------------------------------------------

struct BossPalette {
  Rgb outline;
  Rgb shell, shell_seam, belly, spine, tentacle, sucker;
  Rgb iris_outer, iris_inner, pupil, maw, fang;
  Rgb core_outer, core_inner;
  double glow_veins;  // strength of glowing cracks across the shell
  Rgb vein;
  double flash;       // how far everything is pushed towards white
  double aura;        // width of the fiery halo, 0 for none
  double brow_angle;  // slant of the brow over the eye: steeper is angrier
  bool squint;        // the eye half shut, as when struck
};

BossPalette PaletteFor(BossMood mood) {
  BossPalette p;
  p.outline = {20, 12, 30};
  p.shell = {96, 66, 156};
  p.shell_seam = {46, 28, 80};
  p.belly = {150, 120, 170};
  p.spine = {222, 208, 176};
  p.tentacle = {84, 52, 124};
  p.sucker = {180, 150, 200};
  p.iris_outer = {40, 150, 60};
  p.iris_inner = {200, 255, 120};
  p.pupil = {10, 20, 10};
  p.maw = {40, 8, 24};
  p.fang = {236, 228, 204};
  p.core_outer = {30, 120, 200};
  p.core_inner = {220, 250, 255};
  p.glow_veins = 0;
  p.vein = {0, 0, 0};
  p.flash = 0;
  p.aura = 0;
  p.brow_angle = -0.22;
  p.squint = false;
  if (mood == BossMood::Struck) {
    p.flash = 0.42;
    p.outline = {70, 52, 96};
    p.squint = true;
    p.brow_angle = -0.34;
  }
  if (mood == BossMood::Enraged) {
    p.outline = {40, 6, 6};
    p.shell = {150, 38, 30};
    p.shell_seam = {70, 10, 10};
    p.belly = {200, 90, 50};
    p.spine = {255, 196, 110};
    p.tentacle = {130, 30, 28};
    p.sucker = {255, 150, 70};
    p.iris_outer = {200, 40, 10};
    p.iris_inner = {255, 240, 120};
    p.pupil = {30, 0, 0};
    p.maw = {255, 120, 20};
    p.fang = {255, 236, 200};
    p.core_outer = {240, 90, 10};
    p.core_inner = {255, 255, 200};
    p.glow_veins = 1;
    p.vein = {255, 170, 40};
    p.aura = 6.0;
    p.brow_angle = -0.5;
  }
  return p;
}

constexpr V2 kEyeCentre = {62, 86};
constexpr double kEyeRadius = 17;
constexpr V2 kCoreCentre = {122, 134};
constexpr double kCoreRadius = 12.5;

double SdShell(V2 p) {
  const double back = SdEllipse(p, {106, 90}, 62, 62);
  const double lower = SdEllipse(p, {118, 132}, 48, 36);
  const double head = SdEllipse(p, {52, 104}, 40, 33);
  return SmoothUnion(SmoothUnion(back, lower, 14), head, 16);
}

double SdMaw(V2 p) {
  // The open mouth under the head, a wedge opening to the left.
  const std::vector<V2> maw = {{14, 110}, {58, 117}, {66, 124}, {52, 130}, {18, 128}};
  return SdPolygon(p, maw) - 1.0;
}

double SdFangs(V2 p) {
  double d = 1e9;
  // Upper fangs hang from the top of the mouth, lower ones stand on its floor.
  for (int i = 0; i < 5; ++i) {
    const double x = 20 + i * 8.5;
    const double top = 110.6 + i * 1.35;
    d = std::min(d, SdTaper(p, {x, top - 1}, {x + 1.0, top + 7.5 - i * 0.6}, 2.4, 0.3));
    const double floor = 127.8 - i * 0.3;
    d = std::min(d, SdTaper(p, {x + 4, floor + 1}, {x + 3.5, floor - 5.5}, 2.0, 0.3));
  }
  return d;
}

constexpr int kSpineCount = 5;
constexpr double kSpineBase[kSpineCount][2] = {
    {76, 40}, {100, 30}, {124, 32}, {146, 44}, {162, 64}};
constexpr double kSpineTip[kSpineCount][2] = {{70, 16}, {102, 7}, {134, 10}, {162, 24}, {176, 48}};

double SdSpines(V2 p) {
  double d = 1e9;
  for (int i = 0; i < kSpineCount; ++i) {
    d = std::min(d, SdTaper(p, {kSpineBase[i][0], kSpineBase[i][1]},
                            {kSpineTip[i][0], kSpineTip[i][1]}, 6.5, 0.8));
  }
  return d;
}

constexpr int kTentacleCount = 4;
constexpr int kTentacleSteps = 20;

V2 TentaclePoint(int i, double s) {
  const double x0 = 86 + i * 20;
  const double y0 = 150 + (i == 0 || i == 3 ? 4 : 12);
  const double sway = (i % 2 == 0 ? 1 : -1);
  return {x0 + 16 * s + sway * 6 * Sin(kPi * s * 1.6) + i * 3 * s, y0 + 34 * s};
}

double SdTentacles(V2 p, int* which) {
  double d = 1e9;
  for (int i = 0; i < kTentacleCount; ++i) {
    V2 previous = TentaclePoint(i, 0);
    for (int k = 1; k <= kTentacleSteps; ++k) {
      const double s0 = (k - 1.0) / kTentacleSteps;
      const double s1 = static_cast<double>(k) / kTentacleSteps;
      const V2 next = TentaclePoint(i, s1);
      const double dk = SdTaper(p, previous, next, 8.0 * (1 - s0) + 1.2, 8.0 * (1 - s1) + 1.2);
      if (dk < d) {
        d = dk;
        if (which) *which = i;
      }
      previous = next;
    }
  }
  return d;
}

Rgb FlashRgb(const BossPalette& pal, Rgb c) {
  if (pal.flash <= 0) return c;
  c = MixRgb(c, {255, 250, 255}, pal.flash);
  return c;
}

Sample ShadeBoss(const BossPalette& pal, V2 p) {
  const double d_shell = SdShell(p);
  const double d_spines = SdSpines(p);
  int tentacle = 0;
  const double d_tentacles = SdTentacles(p, &tentacle);
  const double body = std::min({d_shell, d_spines, d_tentacles});

  if (body >= 0) {
    if (pal.aura > 0) {
      // The fiery halo of the enraged boss: ragged flames licking off every edge.
      const double flicker = FractalNoise(p.x * 0.16, p.y * 0.16, 4242u, 3, 0);
      const double reach = pal.aura * (0.35 + 0.9 * flicker);
      if (body < reach) {
        const double heat = 1 - body / reach;
        Rgb c = MixRgb({150, 24, 8}, {246, 110, 20}, SmoothStep(0.0, 0.55, heat));
        c = MixRgb(c, {255, 214, 90}, SmoothStep(0.55, 1.0, heat));
        return {true, c};
      }
      return {body < reach + 0.8, {110, 16, 6}};
    }
    return {body < 1.2, pal.outline};
  }

  Rgb c;
  if (d_shell < 0) {
    const Material shell = {pal.shell, 14, 0.45, 18, 0.3};
    c = Lit(SdShell, p, shell);
    const double depth = -d_shell;
    // Armour plates over the back: two rings of segments, the outer ring offset by half a
    // segment, each plate lit along its upper edge and shaded along its lower one.
    const double back = SmoothStep(58, 78, p.x);
    if (back > 0 && depth > 1.5 && depth < 27) {
      const int ring = depth < 12 ? 0 : 1;
      const double ring_depth = ring == 0 ? depth / 12 : (depth - 12) / 15;
      const double angle = Atan2(p.y - 90, p.x - 106) + (ring == 0 ? 0.22 : 0);
      const double segment = angle / 0.44 - std::floor(angle / 0.44);
      Rgb plate = ScaleRgb(c, 1.1 - 0.22 * ring_depth);
      if (segment < 0.07 || ring_depth > 0.93)
        plate = MixRgb(c, pal.shell_seam, 0.8);
      else if (segment < 0.16)
        plate = ScaleRgb(c, 1.22);
      c = MixRgb(c, plate, back);
    }
    // The soft underside.
    const double belly = SmoothStep(118, 150, p.y) * SmoothStep(60, 90, p.x);
    if (belly > 0) {
      const Material soft = {pal.belly, 10, 0.2, 10, 0.35};
      c = MixRgb(c, Lit(SdShell, p, soft), belly);
      if (std::fabs(p.y - 146 - 0.04 * (p.x - 100)) < 0.6 && p.x > 76) {
        c = MixRgb(c, pal.shell_seam, 0.5);
      }
    }
    // Glowing cracks when enraged.
    if (pal.glow_veins > 0) {
      const double n = FractalNoise(p.x * 0.07, p.y * 0.07, 5150u, 4, 0);
      const double crack = 1 - SmoothStep(0.0, 0.035, std::fabs(n - 0.5));
      c = MixRgb(c, pal.vein, crack * pal.glow_veins);
    }

    // The mouth and its fangs.
    const double d_maw = SdMaw(p);
    if (d_maw < 0) {
      const double throat = SmoothStep(-1, -6, d_maw);
      c = MixRgb(ScaleRgb(pal.maw, 1.6), pal.maw, throat);
      if (pal.glow_veins > 0) c = MixRgb({120, 20, 10}, pal.maw, throat);
    } else if (d_maw < 1.2) {
      c = MixRgb(c, pal.outline, 0.8);
    }
    const double d_fangs = SdFangs(p);
    if (d_fangs < 0 && d_maw < 1.5) {
      const Material bone = {pal.fang, 2.0, 0.5, 20, 0.5};
      c = Lit(SdFangs, p, bone);
      if (d_fangs > -0.5) c = MixRgb(c, pal.outline, 0.5);
    }

    // The eye: a dark socket, a glowing iris and a slit pupil that looks ahead (left).
    const double r_eye = Length(p - kEyeCentre);
    if (r_eye < kEyeRadius + 3.5) {
      if (r_eye >= kEyeRadius) {
        c = MixRgb(pal.outline, c, SmoothStep(kEyeRadius, kEyeRadius + 3.5, r_eye) * 0.6);
      } else {
        const double r = r_eye / kEyeRadius;
        c = MixRgb(pal.iris_inner, pal.iris_outer, SmoothStep(0.15, 0.95, r));
        // Streaks in the iris.
        const double a = Atan2(p.y - kEyeCentre.y, p.x - kEyeCentre.x);
        c = ScaleRgb(c, 0.88 + 0.12 * Sin(a * 14));
        const V2 pupil = {kEyeCentre.x - 4.5, kEyeCentre.y};
        const double d_pupil = SdEllipse(p, pupil, 3.0, 12.0);
        if (d_pupil < 0)
          c = pal.pupil;
        else if (d_pupil < 1.0)
          c = MixRgb(pal.pupil, c, d_pupil);
        if (r > 0.9) c = MixRgb(c, pal.outline, (r - 0.9) * 8);
        if (pal.squint) {
          // The lid comes half down over the eye.
          const double lid = kEyeCentre.y - 1 + 0.25 * (p.x - kEyeCentre.x);
          if (p.y < lid) {
            const Material lid_skin = {pal.shell, 8, 0.4, 16, 0.35};
            c = Lit(SdShell, p, lid_skin);
          }
          if (std::fabs(p.y - lid) < 1.0) c = pal.outline;
        }
        // Glints.
        if (Length(p - V2{kEyeCentre.x - 8, kEyeCentre.y - 8}) < 3.0) c = {255, 255, 255};
        if (Length(p - V2{kEyeCentre.x + 5, kEyeCentre.y + 7}) < 1.4) {
          c = MixRgb(c, {255, 255, 255}, 0.7);
        }
      }
    }

    // The heavy brow over the eye, slanting down towards the front like a scowl.
    auto brow = [&](V2 q) {
      return SdEllipse(Rotate(q - V2{66, 67}, -pal.brow_angle), {0, 0}, 23, 6.0);
    };
    const double d_brow = brow(p);
    if (d_brow < 0) {
      const Material ridge = {ScaleRgb(pal.shell, 1.15), 5, 0.5, 18, 0.35};
      c = Lit(brow, p, ridge);
      if (d_brow > -0.9) c = MixRgb(c, pal.outline, 0.6);
    } else if (d_brow < 3.5 && p.y > 62) {
      c = MixRgb(c, pal.outline, 0.45 * (1 - d_brow / 3.5));  // its shadow
    }

    // The core: a glowing orb set in a ring in the underside.
    const double r_core = Length(p - kCoreCentre);
    if (r_core < kCoreRadius + 4) {
      if (r_core >= kCoreRadius) {
        const Material ring = {{150, 150, 170}, 3, 0.6, 20, 0.35};
        auto ring_sd = [](V2 q) {
          const double r = Length(q - kCoreCentre);
          return std::max(r - kCoreRadius - 4, kCoreRadius - r);
        };
        c = Lit(ring_sd, p, ring);
        if (pal.glow_veins > 0) c = MixRgb(c, {120, 50, 30}, 0.5);
      } else {
        const double r = r_core / kCoreRadius;
        c = MixRgb(pal.core_inner, pal.core_outer, SmoothStep(0.0, 1.0, r));
        c = ScaleRgb(c, 0.9 + 0.1 * Sin(r * 18));
        if (Length(p - V2{kCoreCentre.x - 4, kCoreCentre.y - 4}) < 2.2) c = {255, 255, 255};
      }
    }
    if (d_shell > -1.0 && d_spines >= 0 && d_tentacles >= 0) c = MixRgb(c, pal.outline, 0.4);
  } else if (d_spines < 0) {
    const Material bone = {pal.spine, 3.5, 0.5, 20, 0.4};
    c = Lit(SdSpines, p, bone);
    // Darker towards the root, where they grow out of the shell.
    c = MixRgb(c, ScaleRgb(pal.spine, 0.55), SmoothStep(10, 0, d_shell) * 0.6);
    if (pal.glow_veins > 0) c = MixRgb(c, {255, 120, 30}, SmoothStep(8, 0, d_shell) * 0.6);
    if (d_spines > -0.6) c = MixRgb(c, pal.outline, 0.5);
  } else {
    const Material flesh = {pal.tentacle, 5.0, 0.45, 16, 0.3};
    auto sd = [](V2 q) { return SdTentacles(q, nullptr); };
    c = Lit(sd, p, flesh);
    // A row of suckers along each tentacle's underside.
    for (int k = 2; k < kTentacleSteps - 3; k += 3) {
      const V2 s = TentaclePoint(tentacle, k / static_cast<double>(kTentacleSteps));
      const double r = 2.4 * (1 - k / static_cast<double>(kTentacleSteps)) + 0.8;
      if (Length(p - (s + V2{-3.5 * (1 - k / 20.0), 0})) < r) c = MixRgb(c, pal.sucker, 0.7);
    }
    if (d_tentacles > -0.7) c = MixRgb(c, pal.outline, 0.5);
  }
  if (pal.flash > 0) {
    // Struck: the whole body flares, brightest along its rim.
    c = MixRgb(c, {255, 250, 255}, SmoothStep(-6, 0, body) * 0.7);
  }
  return {true, FlashRgb(pal, c)};
}

// ---- The sky -------------------------------------------------------------------------------

constexpr int kSkyWidth = 800;
constexpr int kSkyHeight = 600;
constexpr int kPlainRows = 64;  // the top rows: one colour but for the stars

// Colour of the sky at row y (y >= kPlainRows), before dithering.
Rgb SkyAt(int x, int y) {
  const Rgb top = {kSkyTopR, kSkyTopG, kSkyTopB};
  const double t = static_cast<double>(y - kPlainRows) / (kSkyHeight - 1 - kPlainRows);
  const Rgb mid = {50, 62, 138};
  const Rgb low = {74, 94, 164};
  const Rgb horizon = {104, 124, 184};
  Rgb c = MixRgb(top, mid, SmoothStep(0, 0.5, t));
  c = MixRgb(c, low, SmoothStep(0.35, 0.85, t));
  c = MixRgb(c, horizon, SmoothStep(0.75, 1.0, t));
  // Faint high cloud near the horizon, repeating every 800 pixels so the sky wraps seamlessly.
  const double cloud = FractalNoise(x / 100.0, y / 28.0, 2024u, 4, 8);
  const double weight = SmoothStep(0.45, 1.0, t);
  const double wisp = SmoothStep(0.5, 0.85, cloud) * weight;
  c = MixRgb(c, {140, 150, 196}, wisp * 0.28);
  return c;
}

// Ordered dithering threshold, 0 to 1, from an 8 x 8 Bayer matrix.
double BayerThreshold(int x, int y) {
  static constexpr int kBayer[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
      {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
      {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
  return (kBayer[y & 7][x & 7] + 0.5) / 64.0;
}

void Blend(Image& image, int x, int y, Rgb colour, double amount) {
  x = ((x % kSkyWidth) + kSkyWidth) % kSkyWidth;  // stars wrap round like the sky
  if (y < 0 || y >= kSkyHeight || amount <= 0) return;
  uint8_t* p = PixelAt(image, x, y);
  amount = std::min(amount, 1.0);
  p[0] = ToByte(Mix(p[0], colour.r, amount));
  p[1] = ToByte(Mix(p[1], colour.g, amount));
  p[2] = ToByte(Mix(p[2], colour.b, amount));
}

}  // namespace

Image DrawBackground() {
  Image sky = MakeImage(kSkyWidth, kSkyHeight, kSkyTopR, kSkyTopG, kSkyTopB);
  for (int y = kPlainRows; y < kSkyHeight; ++y) {
    for (int x = 0; x < kSkyWidth; ++x) {
      const Rgb c = SkyAt(x, y);
      const double t = BayerThreshold(x, y);
      uint8_t* p = PixelAt(sky, x, y);
      p[0] = static_cast<uint8_t>(std::floor(c.r + t));
      p[1] = static_cast<uint8_t>(std::floor(c.g + t));
      p[2] = static_cast<uint8_t>(std::floor(c.b + t));
    }
  }

  // Stars: many faint points, some brighter ones with a soft halo, a few with rays. Fewer lower
  // down, where the sky is lighter.
  constexpr Rgb kStarColours[] = {
      {255, 255, 255}, {210, 225, 255}, {255, 244, 214}, {190, 210, 255}, {255, 226, 190}};
  Rng rng{0x57A25ull};
  for (int i = 0; i < 900; ++i) {
    const int x = static_cast<int>(NextUnit(rng) * kSkyWidth);
    const int y = static_cast<int>(NextUnit(rng) * kSkyHeight);
    const double kind = NextUnit(rng);
    const Rgb colour = kStarColours[NextBits(rng) % 5];
    const double keep = 1 - 0.75 * static_cast<double>(y) / kSkyHeight;
    if (NextUnit(rng) > keep) continue;
    if (kind < 0.72) {
      Blend(sky, x, y, colour, NextRange(rng, 0.18, 0.55));
    } else if (kind < 0.92) {
      const double a = NextRange(rng, 0.6, 0.95);
      Blend(sky, x, y, colour, a);
      Blend(sky, x + 1, y, colour, a * 0.25);
      Blend(sky, x - 1, y, colour, a * 0.25);
      Blend(sky, x, y + 1, colour, a * 0.25);
      Blend(sky, x, y - 1, colour, a * 0.25);
    } else if (kind < 0.985) {
      for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
          const double r2 = dx * dx + dy * dy;
          Blend(sky, x + dx, y + dy, colour, Exp(-r2 / 1.1));
        }
      }
    } else {
      // A bright star with four rays.
      for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
          Blend(sky, x + dx, y + dy, colour, Exp(-(dx * dx + dy * dy) / 1.3));
        }
      }
      for (int r = 3; r <= 6; ++r) {
        const double a = 0.75 * (1 - (r - 2) / 5.0);
        Blend(sky, x + r, y, colour, a);
        Blend(sky, x - r, y, colour, a);
        Blend(sky, x, y + r, colour, a);
        Blend(sky, x, y - r, colour, a);
      }
    }
  }
  return sky;
}

Image DrawFlyer(FlyerPose pose) {
  const FlyerShape shape = MakeFlyerShape(pose);
  return RenderSprite(118, 25, [&](V2 p) { return ShadeFlyer(shape, p); });
}

FlyerModel LevelFlyerModel() {
  const FlyerShape f = MakeFlyerShape(FlyerPose::Level);
  FlyerModel model;
  auto points = [](const std::vector<V2>& polygon) {
    std::vector<Point> out;
    for (V2 v : polygon)
      out.push_back({v.x, v.y});
    return out;
  };
  model.hull = points(f.hull);
  model.fin = points(f.fin);
  model.wing = points(f.wing);
  model.nozzle = points(f.nozzle);
  model.flameLength = f.flame_length;
  // Level flight is not turned: the sprite's pixels are the model's, shifted and squeezed.
  model.spriteScaleY = f.scale_y;
  model.spriteShift = {f.offset.x - f.pivot.x, f.offset.y - f.pivot.y * f.scale_y};
  return model;
}

// The level flyer climbing along the square's diagonal, nose to the top-right corner, filling a
// size x size square but for a thin margin: the same shapes and shading as the sprite, drawn
// larger, on the same pure red.
Image DrawFlyerIcon(int size) {
  const FlyerShape shape = MakeFlyerShape(FlyerPose::Level);
  const V2 kFigureMiddle = {57.5,
                            12.5};  // halfway from the flame's tip to the nose, in sprite pixels
  constexpr double kTurnedExtent = 100.5;  // width and height of the figure turned by 45 degrees
  const double scale = size * 0.92 / kTurnedExtent;
  const V2 middle = {size * 0.5, size * 0.5};
  return RenderSprite(size, size, [&](V2 q) {
    return ShadeFlyer(shape, Rotate(q - middle, kPi / 4) * (1 / scale) + kFigureMiddle);
  });
}

Image DrawBullet() {
  return RenderSprite(11, 11, ShadeBullet);
}

Image DrawEnemy() {
  return RenderSprite(40, 47, ShadeEnemy);
}

Image DrawExplosion() {
  const BurstShape shape = MakeBurstShape();
  return RenderSprite(39, 40, [&](V2 p) { return ShadeExplosion(shape, p); });
}

Image DrawBoss(BossMood mood) {
  const BossPalette palette = PaletteFor(mood);
  // The figure is drawn in its own coordinates and scaled down a little to leave room all round
  // for the outline and the enraged boss's flames.
  constexpr double kScale = 0.95;
  return RenderSprite(179, 198, [&](V2 p) {
    return ShadeBoss(palette, (p - V2{89.5, 99}) * (1 / kScale) + V2{94, 101});
  });
}

}  // namespace resgen
