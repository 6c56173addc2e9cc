// The software frame canvas: one frame composed in an 800 x 600 pixel buffer, then copied whole
// to its target. Used by the Linux program and by the tests.
//
// As on Windows nothing survives a frame: the buffer is made when the canvas opens and freed when
// it is released, and every picture is read from the resource table at the moment it is drawn.
#pragma once

#include <cstdint>
#include <memory>

#include "game/platform.h"
#include "shell/soft/bitmap.h"
#include "shell/soft/resource_table.h"

// Pixels are 0x00RRGGBB, rows top-down, kSceneWidth to a row.
using Pixel = uint32_t;

constexpr Pixel PixelRgb(uint8_t r, uint8_t g, uint8_t b) {
  return Pixel{r} << 16 | Pixel{g} << 8 | Pixel{b};
}

constexpr Pixel kLabelInk = PixelRgb(255, 255, 255);
constexpr Pixel kLabelBox = PixelRgb(42, 46, 115);

struct FrameCanvas {
  ResourceTable resources;
  std::unique_ptr<Pixel[]> pixels;  // the back buffer
  BitmapView batchPicture;          // the picture of the open SpriteBatch; width 0 if none
  char labelText[kLabelTextSize];
};

// Where Present copies a frame: `pitch` pixels from one row to the next.
struct PixelTarget {
  Pixel* pixels;
  int32_t pitch;
  int32_t width;
  int32_t height;
};

// Opens a canvas for one frame, drawing pictures from `resources`. The initial content is
// undefined; DrawBackground covers all of it.
void OpenFrameCanvas(FrameCanvas& canvas, ResourceTable resources);

// Copies the whole frame to the target's origin in one pass; the target clips.
void Present(const FrameCanvas& canvas, const PixelTarget& target);

// Frees what OpenFrameCanvas made.
void ReleaseFrameCanvas(FrameCanvas& canvas);

inline Pixel CanvasPixel(const FrameCanvas& canvas, int32_t x, int32_t y) {
  return canvas.pixels[static_cast<size_t>(y) * kSceneWidth + x];
}
