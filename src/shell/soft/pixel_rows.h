// The frame's pixels, and rows of pictures converted to them: the one inner loop of every frame.
// The software canvas draws the background and the sprites through these two calls.
#pragma once

#include <cstdint>

// Pixels are 0x00RRGGBB; a frame's rows run top-down, kSceneWidth to a row.
using Pixel = uint32_t;

constexpr Pixel PixelRgb(uint8_t r, uint8_t g, uint8_t b) {
  return Pixel{r} << 16 | Pixel{g} << 8 | Pixel{b};
}

// `count` pixels of a picture row (three bytes each, blue, green, red) to `dst`: all of them.
void CopyRowOpaque(Pixel* dst, const unsigned char* src, int32_t count);

// The same, leaving out pure red RGB(255, 0, 0), the sprites' transparent colour: `dst` keeps its
// pixel there. Near reds are drawn.
void CopyRowKeyed(Pixel* dst, const unsigned char* src, int32_t count);
