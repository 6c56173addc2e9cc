// The canvas operations on a pixel buffer: the wrapped background, colour-keyed sprites clipped
// at every edge, and labels in the built-in font. The picture rows themselves are converted by
// shell/soft/pixel_rows.cpp.
#include "shell/soft/soft_canvas.h"

#include <algorithm>
#include <cstring>

#include "shell/soft/label_font.h"
#include "shell/soft/pixel_rows.h"

namespace {

constexpr Pixel kBlack = 0;

// Draws a picture at its own size, top-left at (x, y), pure red left out, clipped to the canvas.
void DrawKeyed(FrameCanvas& canvas, const BitmapView& picture, int32_t x, int32_t y) {
  // 64-bit edges: a picture far off the canvas must not overflow the sums.
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + picture.width, kSceneWidth);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + picture.height, kSceneHeight);
  if (left >= right || top >= bottom) return;
  for (int64_t row = top; row < bottom; ++row) {
    const unsigned char* src = picture.Row(static_cast<int32_t>(row - y)) + (left - x) * 3;
    CopyRowKeyed(&canvas.pixels[row * kSceneWidth + left], src, static_cast<int32_t>(right - left));
  }
}

bool FindPicture(const FrameCanvas& canvas, SpriteId sprite, BitmapView& picture) {
  return ReadBitmap(LookUpResource(canvas.resources, sprite, ResourceKind::Bitmap), picture);
}

// The frame's rows to the target's origin, as many as the target holds.
void CopyFrame(const Pixel* frame, const PixelTarget& target) {
  const int32_t width = std::min(target.width, kSceneWidth);
  const int32_t height = std::min(target.height, kSceneHeight);
  for (int32_t row = 0; row < height; ++row) {
    std::memcpy(target.pixels + static_cast<size_t>(row) * target.pitch,
                &frame[static_cast<size_t>(row) * kSceneWidth], width * sizeof(Pixel));
  }
}

}  // namespace

void OpenFrameCanvas(FrameCanvas& canvas, ResourceTable resources, BackBuffer& backBuffer) {
  canvas.resources = resources;
  canvas.pixels = backBuffer.data();
  canvas.batchPicture = BitmapView{};
  canvas.labelText[0] = '\0';
}

void ReleaseFrameCanvas(FrameCanvas& canvas) {
  canvas.pixels = nullptr;
  canvas.batchPicture = BitmapView{};
}

void Present(const FrameCanvas& canvas, const PixelTarget& target) {
  CopyFrame(canvas.pixels, target);
}

void Present(const BackBuffer& frame, const PixelTarget& target) {
  CopyFrame(frame.data(), target);
}

void DrawBackground(FrameCanvas& canvas, int32_t scrollOffset) {
  // Canvas column c shows picture column (c - s) mod 800: the picture's columns -s..799 go to the
  // left part, its columns 0..-s-1 to the right. At 0 and -800 one part is empty.
  const int32_t s = std::clamp(scrollOffset, -kSceneWidth, 0);
  BitmapView picture;
  const bool found = FindPicture(canvas, IDB_BACKGROUND, picture);
  for (int32_t row = 0; row < kSceneHeight; ++row) {
    Pixel* dst = &canvas.pixels[static_cast<size_t>(row) * kSceneWidth];
    if (!found || row >= picture.height) {
      std::fill(dst, dst + kSceneWidth, kBlack);  // only a defective build has no full picture
      continue;
    }
    const unsigned char* src = picture.Row(row);
    const int32_t pictureWidth = std::min(picture.width, kSceneWidth);
    const int32_t leftCount = std::max(0, pictureWidth + s);  // picture columns -s .. width-1
    const int32_t rightAt = kSceneWidth + s;                  // picture columns 0 .. -s-1
    const int32_t rightCount = std::min(-s, pictureWidth);
    if (pictureWidth < kSceneWidth) std::fill(dst, dst + kSceneWidth, kBlack);
    CopyRowOpaque(dst, src + static_cast<size_t>(-s) * 3, leftCount);
    CopyRowOpaque(dst + rightAt, src, rightCount);
  }
}

SpriteSize DrawSprite(FrameCanvas& canvas, SpriteId sprite, int32_t x, int32_t y) {
  BitmapView picture;
  if (!FindPicture(canvas, sprite, picture)) return {};  // draws nothing, reports 0 x 0
  DrawKeyed(canvas, picture, x, y);
  return {picture.width, picture.height};
}

void OpenSpriteBatch(FrameCanvas& canvas, SpriteId sprite) {
  if (!FindPicture(canvas, sprite, canvas.batchPicture)) canvas.batchPicture = BitmapView{};
}

void DrawSpriteBatch(FrameCanvas& canvas, int32_t x, int32_t y) {
  if (canvas.batchPicture.width > 0) DrawKeyed(canvas, canvas.batchPicture, x, y);
}

void CloseSpriteBatch(FrameCanvas& canvas) {
  canvas.batchPicture = BitmapView{};
}

char* LabelText(FrameCanvas& canvas) {
  return canvas.labelText;
}

void DrawLabel(FrameCanvas& canvas, const char* text, int32_t x, int32_t y) {
  // The box is the text's own size, centred on x, top at y, filled opaque behind the ink.
  const int64_t length = static_cast<int64_t>(std::strlen(text));
  const int64_t boxLeft = int64_t{x} - length * kGlyphWidth / 2;
  for (int32_t r = 0; r < kGlyphHeight; ++r) {
    const int64_t row = int64_t{y} + r;
    if (row < 0 || row >= kSceneHeight) continue;
    Pixel* line = &canvas.pixels[row * kSceneWidth];
    const int64_t first = std::max<int64_t>(0, (0 - boxLeft) / kGlyphWidth);
    for (int64_t i = first; i < length; ++i) {
      const int64_t glyphLeft = boxLeft + i * kGlyphWidth;
      if (glyphLeft >= kSceneWidth) break;
      const uint8_t bits = GlyphRow(static_cast<unsigned char>(text[i]), r);
      for (int c = 0; c < kGlyphWidth; ++c) {
        const int64_t col = glyphLeft + c;
        if (col < 0 || col >= kSceneWidth) continue;
        line[col] = (bits & (0x80 >> c)) ? kLabelInk : kLabelBox;
      }
    }
  }
}
