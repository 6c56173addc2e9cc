// The desktop icons: the flyer picture with its pure red made transparent, at the sizes a desktop
// asks for (drawn at twice the size and averaged down, so the figure's edge fades smoothly), and
// the same flyer as scalable vector graphics.
#include <cstdio>
#include <initializer_list>

#include "resgen.h"

namespace resgen {

RgbaImage MakeIcon(int size) {
  constexpr int kOversample = 2;
  const Image keyed = DrawFlyerIcon(size * kOversample);
  RgbaImage icon;
  icon.width = size;
  icon.height = size;
  icon.rgba.assign(static_cast<size_t>(size) * size * 4, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Alpha is the share of the block's figure pixels; the colour is their average, so no red
      // from the key bleeds into the edge.
      int figure = 0, r = 0, g = 0, b = 0;
      for (int dy = 0; dy < kOversample; ++dy) {
        for (int dx = 0; dx < kOversample; ++dx) {
          const uint8_t* p = PixelAt(keyed, x * kOversample + dx, y * kOversample + dy);
          if (p[0] == kKeyR && p[1] == kKeyG && p[2] == kKeyB) continue;
          ++figure;
          r += p[0];
          g += p[1];
          b += p[2];
        }
      }
      if (figure == 0) continue;  // fully transparent, black
      uint8_t* out = &icon.rgba[(static_cast<size_t>(y) * size + x) * 4];
      out[0] = static_cast<uint8_t>((r + figure / 2) / figure);
      out[1] = static_cast<uint8_t>((g + figure / 2) / figure);
      out[2] = static_cast<uint8_t>((b + figure / 2) / figure);
      out[3] = static_cast<uint8_t>((255 * figure + kOversample * kOversample / 2) /
                                    (kOversample * kOversample));
    }
  }
  return icon;
}

}  // namespace resgen

namespace resgen {
namespace {

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  std::string s = text;
  while (s.back() == '0')
    s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string PathOf(const std::vector<Point>& polygon) {
  std::string d;
  for (size_t i = 0; i < polygon.size(); ++i) {
    d += (i == 0 ? "M" : " L") + Number(polygon[i].x) + " " + Number(polygon[i].y);
  }
  return d + " Z";
}

}  // namespace

// Drawn in the flyer model's units, then placed as the PNG icons place the sprite: turned 45
// degrees, nose to the top-right corner, filling the square but for a thin margin. The parts,
// their colours and the places of the stripe, seams and canopy follow the sprite's shading in
// pictures.cpp (ShadeFlyer); keep the two in step.
std::string MakeIconSvg() {
  const FlyerModel m = LevelFlyerModel();
  constexpr double kSize = 256;
  const double scale = kSize * 0.92 / 100.5;  // as DrawFlyerIcon
  const std::string hull = PathOf(m.hull);
  // The flame: a tapered capsule from the nozzle (5.5, 13.7) backwards, radius 3.4 to 0.5.
  const double tip = 5.5 - m.flameLength;
  const std::string flame = "M5.5 10.3 L" + Number(tip) + " 13.2 A0.5 0.5 0 0 0 " + Number(tip) +
                            " 14.2 L5.5 17.1 A3.4 3.4 0 0 0 5.5 10.3 Z";
  // The red stripe along the hull, and the belly below it: stripe top y = 14 - 0.03 (x - 60).
  auto stripe = [](double x) { return 14.0 - 0.03 * (x - 60); };
  const std::string belly =
      "M0 " + Number(stripe(0)) + " L120 " + Number(stripe(120)) + " L120 30 L0 30 Z";
  const std::string band = "M14 " + Number(stripe(14)) + " L106 " + Number(stripe(106)) + " L106 " +
                           Number(stripe(106) + 1.3) + " L14 " + Number(stripe(14) + 1.3) + " Z";
  const std::string intake = "M62 " + Number(stripe(62) + 1.8) + " L74 " +
                             Number(stripe(74) + 1.8) + " L74 " + Number(stripe(74) + 3.6) +
                             " L62 " + Number(stripe(62) + 3.6) + " Z";

  std::string svg;
  svg +=
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
      "viewBox=\"0 0 256 256\">\n";
  svg += "  <defs>\n";
  auto gradient = [&](const char* id, const char* x2, const char* y2,
                      std::initializer_list<const char*> stops) {
    svg += std::string("    <linearGradient id=\"") + id + "\" x1=\"0\" y1=\"0\" x2=\"" + x2 +
           "\" y2=\"" + y2 + "\">\n";
    for (const char* stop : stops)
      svg += std::string("      <stop ") + stop + "/>\n";
    svg += "    </linearGradient>\n";
  };
  gradient("silver", "0", "1",
           {"offset=\"0\" stop-color=\"#eef2f8\"", "offset=\"0.6\" stop-color=\"#c4ccdc\"",
            "offset=\"1\" stop-color=\"#8c94aa\""});
  gradient("belly", "0", "1",
           {"offset=\"0\" stop-color=\"#7c8cac\"", "offset=\"1\" stop-color=\"#4a5672\""});
  gradient("steel", "0", "1",
           {"offset=\"0\" stop-color=\"#7a849e\"", "offset=\"1\" stop-color=\"#3c4458\""});
  gradient("glass", "0", "1",
           {"offset=\"0\" stop-color=\"#64aadc\"", "offset=\"1\" stop-color=\"#163c78\""});
  gradient("flame", "1", "0",
           {"offset=\"0\" stop-color=\"#eb5a14\"", "offset=\"0.55\" stop-color=\"#ffc850\"",
            "offset=\"1\" stop-color=\"#fffae1\""});
  svg += "    <clipPath id=\"hull\"><path d=\"" + hull + "\"/></clipPath>\n";
  svg += "    <clipPath id=\"fin\"><path d=\"" + PathOf(m.fin) + "\"/></clipPath>\n";
  svg +=
      "    <clipPath id=\"glass-top\"><rect x=\"60\" y=\"0\" width=\"50\" "
      "height=\"11\"/></clipPath>\n";
  svg += "  </defs>\n";
  svg += "  <g transform=\"translate(128 128) rotate(-45) scale(" + Number(scale) +
         ") translate(-57.5 -12.5) matrix(1 0 0 " + Number(m.spriteScaleY) + " " +
         Number(m.spriteShift.x) + " " + Number(m.spriteShift.y) + ")\">\n";
  // The dark outline round the whole figure, one unit wide, under everything.
  svg +=
      "    <g fill=\"#101424\" stroke=\"#101424\" stroke-width=\"2\" "
      "stroke-linejoin=\"round\">\n";
  svg += "      <path d=\"" + PathOf(m.wing) + "\"/>\n      <path d=\"" + PathOf(m.fin) +
         "\"/>\n      <path d=\"" + PathOf(m.nozzle) + "\"/>\n      <path d=\"" + hull +
         "\"/>\n      <ellipse cx=\"84\" cy=\"9.6\" rx=\"17\" ry=\"5.4\"/>\n    </g>\n";
  svg += "    <path d=\"" + flame +
         "\" fill=\"url(#flame)\" stroke=\"#96300e\" "
         "stroke-width=\"0.6\"/>\n";
  svg += "    <path d=\"" + PathOf(m.nozzle) + "\" fill=\"#46444c\"/>\n";
  svg += "    <path d=\"" + PathOf(m.wing) +
         "\" fill=\"url(#steel)\" stroke=\"#3c4458\" "
         "stroke-width=\"0.8\" stroke-linejoin=\"round\"/>\n";
  svg += "    <path d=\"" + PathOf(m.fin) +
         "\" fill=\"url(#steel)\" stroke=\"#3c4458\" "
         "stroke-width=\"1.2\" stroke-linejoin=\"round\"/>\n";
  svg +=
      "    <rect x=\"21.5\" y=\"0\" width=\"4\" height=\"8\" fill=\"#c83c2d\" "
      "clip-path=\"url(#fin)\"/>\n";
  svg +=
      "    <ellipse cx=\"84\" cy=\"9.6\" rx=\"17\" ry=\"5.4\" fill=\"url(#glass)\" "
      "clip-path=\"url(#glass-top)\"/>\n";
  svg += "    <g clip-path=\"url(#hull)\">\n";
  svg += "      <path d=\"" + hull + "\" fill=\"url(#silver)\"/>\n";
  svg += "      <path d=\"" + belly + "\" fill=\"url(#belly)\"/>\n";
  svg += "      <path d=\"" + band + "\" fill=\"#d6322a\"/>\n";
  svg += "      <path d=\"" + intake + "\" fill=\"#1e2232\"/>\n";
  svg +=
      "      <rect x=\"109\" y=\"0\" width=\"12\" height=\"30\" fill=\"#3c4254\" "
      "fill-opacity=\"0.55\"/>\n";
  for (double seam : {30.0, 52.0, 100.0}) {
    svg += "      <rect x=\"" + Number(seam - 0.35) +
           "\" y=\"0\" width=\"0.7\" height=\"30\" "
           "fill=\"#000\" fill-opacity=\"0.28\"/>\n";
  }
  svg += "    </g>\n  </g>\n</svg>\n";
  return svg;
}

}  // namespace resgen
