// The desktop icons: the flyer picture with its pure red made transparent, at the sizes a desktop
// asks for. Drawn at twice the size and averaged down, so the figure's edge fades smoothly.
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
