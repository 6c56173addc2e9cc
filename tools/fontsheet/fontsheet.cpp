// fontsheet: draws sample labels in the label font to a PPM picture, once at 1:1 and once at 4x,
// so the glyphs can be looked at and judged. Each label is drawn as the game draws one: white
// characters on an opaque box of the label colour RGB(42, 46, 115). The sheet around the boxes is
// a lighter sky blue, so the box edges show.
//
//   fontsheet out.ppm        then, for a PNG:  convert out.ppm out.png
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "shell/soft/label_font.h"

namespace {

struct Rgb {
  uint8_t r, g, b;
};
static_assert(sizeof(Rgb) == 3, "pixels are written to the PPM as packed RGB triples");

constexpr Rgb kLabelText = {255, 255, 255};
constexpr Rgb kLabelBox = {42, 46, 115};
constexpr Rgb kSheet = {96, 112, 168};
constexpr int kMargin = 8;  // pixels around the sheet and between labels

const char* const kSamples[] = {
    "Your Point  :          0",
    "Your Point  :        310",
    "999999",
    "-12345",
    "     0",
    " !\"#$%&'()*+,-./0123456789:;<=>?",
    "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_",
    "`abcdefghijklmnopqrstuvwxyz{|}~",
    "The quick brown fox jumps over the lazy dog.",
    "Sphinx of black quartz, judge my vow!",
    "boxes: \x01\x1f\x7f\x80\xff",
};

struct Sheet {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
};

void Fill(Sheet& sheet, int x, int y, int w, int h, Rgb colour) {
  for (int py = y; py < y + h; ++py) {
    for (int px = x; px < x + w; ++px) {
      if (px >= 0 && px < sheet.width && py >= 0 && py < sheet.height) {
        sheet.pixels[py * sheet.width + px] = colour;
      }
    }
  }
}

// Draws `text` with its box's top-left corner at (x, y), every font pixel as a scale x scale block.
void DrawText(Sheet& sheet, const char* text, int x, int y, int scale) {
  const int n = static_cast<int>(std::strlen(text));
  Fill(sheet, x, y, n * kGlyphWidth * scale, kGlyphHeight * scale, kLabelBox);
  for (int i = 0; i < n; ++i) {
    for (int r = 0; r < kGlyphHeight; ++r) {
      const uint8_t bits = GlyphRow(static_cast<unsigned char>(text[i]), r);
      for (int c = 0; c < kGlyphWidth; ++c) {
        if (bits & (0x80u >> c)) {
          Fill(sheet, x + (i * kGlyphWidth + c) * scale, y + r * scale, scale, scale, kLabelText);
        }
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fontsheet out.ppm\n");
    return 2;
  }
  const int scales[] = {1, 4};
  int widest = 0;
  for (const char* text : kSamples) {
    const int n = static_cast<int>(std::strlen(text));
    if (n > widest) widest = n;
  }
  Sheet sheet;
  sheet.width = kMargin * 2 + widest * kGlyphWidth * 4;
  sheet.height = kMargin;
  for (int scale : scales) {
    sheet.height += static_cast<int>(std::size(kSamples)) * (kGlyphHeight * scale + kMargin);
  }
  sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, kSheet);

  int y = kMargin;
  for (int scale : scales) {
    for (const char* text : kSamples) {
      DrawText(sheet, text, kMargin, y, scale);
      y += kGlyphHeight * scale + kMargin;
    }
  }

  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "P6\n%d %d\n255\n", sheet.width, sheet.height);
  const size_t written = std::fwrite(sheet.pixels.data(), sizeof(Rgb), sheet.pixels.size(), out);
  const bool closed = std::fclose(out) == 0;
  if (written != sheet.pixels.size() || !closed) {
    std::fprintf(stderr, "fontsheet: could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
