// The software frame canvas: one frame composed in an 800 x 600 pixel buffer, then copied whole
// to its target. Used by the Linux program and by the tests.
//
// Every picture is read from the resource table at the moment it is drawn; nothing of a picture
// survives its frame. The back buffer is the caller's, so a frame allocates nothing.
#pragma once

#include <array>
#include <cstdint>

#include "game/platform.h"
#include "shell/soft/bitmap.h"
#include "shell/soft/pixel_rows.h"
#include "shell/soft/resource_table.h"

// The pixels of one frame.
using BackBuffer = std::array<Pixel, size_t{kSceneWidth} * kSceneHeight>;

constexpr Pixel kLabelInk = PixelRgb(255, 255, 255);
constexpr Pixel kLabelBox = PixelRgb(42, 46, 115);

struct FrameCanvas {
  ResourceTable resources;
  Pixel* pixels = nullptr;  // the back buffer
  BitmapView batchPicture;  // the picture of the open SpriteBatch; width 0 if none
  char labelText[kLabelTextSize];
};

// Where Present copies a frame: `pitch` pixels from one row to the next.
struct PixelTarget {
  Pixel* pixels;
  int32_t pitch;
  int32_t width;
  int32_t height;
};

// Opens a canvas for one frame on `backBuffer`, drawing pictures from `resources`. What the buffer
// holds beforehand never shows: DrawBackground covers all of it.
void OpenFrameCanvas(FrameCanvas& canvas, ResourceTable resources, BackBuffer& backBuffer);

// Copies the whole frame to the target's origin in one pass; the target clips.
void Present(const FrameCanvas& canvas, const PixelTarget& target);

// The same copy from a back buffer that holds a finished frame, after its canvas is released.
void Present(const BackBuffer& frame, const PixelTarget& target);

// Ends the frame: the canvas lets go of its buffer and pictures.
void ReleaseFrameCanvas(FrameCanvas& canvas);

inline Pixel CanvasPixel(const FrameCanvas& canvas, int32_t x, int32_t y) {
  return canvas.pixels[static_cast<size_t>(y) * kSceneWidth + x];
}
