// The software canvas: background wrap, colour key, clipping, labels and the bitmap reader.
#include "shell/soft/soft_canvas.h"

#include <gtest/gtest.h>

#include <cstring>

#include "shell/soft/label_font.h"
#include "support/fixture_pictures.h"

namespace {

constexpr uint16_t kProbe = 200;  // a picture number of the tests' own

class SoftCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pictures.Add(IDB_BACKGROUND, MakeBitmapResource(800, 600, BackgroundFixtureColour));
    canvas = std::make_unique<FrameCanvas>();
    back = std::make_unique<BackBuffer>();
  }
  void Open() { OpenFrameCanvas(*canvas, pictures.Table(), *back); }
  void TearDown() override {
    if (canvas->pixels) ReleaseFrameCanvas(*canvas);
  }
  Pixel At(int32_t x, int32_t y) const { return CanvasPixel(*canvas, x, y); }
  void Fill(Pixel colour) { std::fill(canvas->pixels, canvas->pixels + 800 * 600, colour); }
  int CountPixels(Pixel colour) const {
    return static_cast<int>(std::count(canvas->pixels, canvas->pixels + 800 * 600, colour));
  }

  FixtureResources pictures;
  std::unique_ptr<FrameCanvas> canvas;
  std::unique_ptr<BackBuffer> back;
};

TEST_F(SoftCanvasTest, BackgroundColumnCShowsPictureColumnCMinusSModulo800) {
  for (const int32_t s : {0, -1, -400, -799, -800}) {
    SCOPED_TRACE(s);
    Open();
    Fill(kPureRed);
    DrawBackground(*canvas, s);
    int wrong = 0;
    for (int32_t y = 0; y < 600; ++y) {
      for (int32_t x = 0; x < 800; ++x) {
        wrong += At(x, y) != BackgroundFixtureColour(((x - s) % 800 + 800) % 800, y);
      }
    }
    EXPECT_EQ(wrong, 0);
    ReleaseFrameCanvas(*canvas);
  }
}

TEST_F(SoftCanvasTest, OnlyPureRedIsLeftOut) {
  const Pixel colours[] = {kPureRed, PixelRgb(254, 0, 0), PixelRgb(255, 1, 0), PixelRgb(255, 0, 1),
                           PixelRgb(128, 0, 0)};
  pictures.Add(kProbe, MakeBitmapResource(5, 1, [&](int32_t x, int32_t) { return colours[x]; }));
  Open();
  Fill(0x123456);
  const SpriteSize size = DrawSprite(*canvas, static_cast<SpriteId>(kProbe), 10, 10);
  EXPECT_EQ(size.width, 5);
  EXPECT_EQ(size.height, 1);
  EXPECT_EQ(At(10, 10), 0x123456u);
  for (int32_t x = 1; x < 5; ++x)
    EXPECT_EQ(At(10 + x, 10), colours[x]) << x;
}

// A 30 x 20 sprite (one-pixel pure-red border) against each edge, and wholly off each edge.
TEST_F(SoftCanvasTest, SpritesClipAtEveryEdgeAndStillReportTheirSize) {
  const Pixel ink = PixelRgb(0, 200, 100);
  pictures.Add(kProbe, MakeFigure(30, 20, ink));
  struct Case {
    int32_t x, y;
    int visible;  // figure pixels that land on the canvas (the border never draws)
  };
  const Case cases[] = {
      {100, 100, 28 * 18}, {-20, 100, 9 * 18}, {790, 100, 9 * 18}, {100, -10, 28 * 9},
      {100, 590, 28 * 9},  {-20, -10, 9 * 9},  {790, 590, 9 * 9},  {800, 100, 0},
      {100, 600, 0},       {-30, 100, 0},      {100, -20, 0},      {-2000000000, 2000000000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
    Open();
    Fill(0);
    const SpriteSize size = DrawSprite(*canvas, static_cast<SpriteId>(kProbe), c.x, c.y);
    EXPECT_EQ(size.width, 30);
    EXPECT_EQ(size.height, 20);
    EXPECT_EQ(CountPixels(ink), c.visible);
    if (c.visible > 0) {
      const int32_t innerX = std::clamp(c.x + 1, 0, 799), innerY = std::clamp(c.y + 1, 0, 599);
      EXPECT_EQ(At(innerX, innerY), ink);  // the figure starts where it should
    }
    ReleaseFrameCanvas(*canvas);
  }
}

TEST_F(SoftCanvasTest, AMissingPictureDrawsNothingAndReportsNoSize) {
  Open();
  Fill(7);
  const SpriteSize size = DrawSprite(*canvas, static_cast<SpriteId>(kProbe), 0, 0);
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
  OpenSpriteBatch(*canvas, static_cast<SpriteId>(kProbe));
  DrawSpriteBatch(*canvas, 10, 10);
  CloseSpriteBatch(*canvas);
  EXPECT_EQ(CountPixels(7), 800 * 600);
}

TEST_F(SoftCanvasTest, ABatchDrawsLikeDrawSprite) {
  const Pixel ink = PixelRgb(250, 160, 20);
  pictures.Add(kProbe, MakeFigure(11, 11, ink));
  Open();
  Fill(0);
  OpenSpriteBatch(*canvas, static_cast<SpriteId>(kProbe));
  DrawSpriteBatch(*canvas, 100, 100);
  DrawSpriteBatch(*canvas, 795, -5);
  CloseSpriteBatch(*canvas);
  EXPECT_EQ(CountPixels(ink), 81 + 4 * 5);  // 4 columns x 5 rows of the second show
  EXPECT_EQ(At(101, 101), ink);
  EXPECT_EQ(At(100, 100), 0u);
  EXPECT_EQ(At(796, 0), ink);
}

TEST_F(SoftCanvasTest, LabelIsWhiteOnAnOpaqueBoxCentredOnX) {
  Open();
  Fill(0);
  std::strcpy(LabelText(*canvas), "-12");
  DrawLabel(*canvas, LabelText(*canvas), 400, 10);
  // Three glyphs make a 24 x 16 box from x 388 to 411, rows 10 to 25.
  EXPECT_EQ(CountPixels(kLabelInk) + CountPixels(kLabelBox), 24 * 16);
  EXPECT_GT(CountPixels(kLabelInk), 0);
  for (int32_t r = 0; r < kGlyphHeight; ++r) {
    for (int32_t i = 0; i < 3; ++i) {
      for (int32_t c = 0; c < kGlyphWidth; ++c) {
        const bool ink = GlyphRow(static_cast<unsigned char>("-12"[i]), r) & (0x80 >> c);
        ASSERT_EQ(At(388 + i * 8 + c, 10 + r), ink ? kLabelInk : kLabelBox);
      }
    }
  }
}

TEST_F(SoftCanvasTest, LabelsClipAtTheEdges) {
  Open();
  Fill(0);
  DrawLabel(*canvas, "999999", 0, -8);  // box -24..23 x -8..7
  DrawLabel(*canvas, "999999", 800, 595);
  EXPECT_EQ(CountPixels(kLabelInk) + CountPixels(kLabelBox), 24 * 8 + 24 * 5);
  EXPECT_EQ(At(24, 0), 0u);
}

TEST_F(SoftCanvasTest, PresentCopiesTheFrameToTheTargetOriginAndClips) {
  Open();
  DrawBackground(*canvas, -3);
  std::vector<Pixel> small(300 * 200, 1), large(900 * 700, 1);
  Present(*canvas, {small.data(), 300, 300, 200});
  Present(*canvas, {large.data(), 900, 900, 700});
  EXPECT_EQ(small[0], At(0, 0));
  EXPECT_EQ(small[199 * 300 + 299], At(299, 199));
  EXPECT_EQ(large[599 * 900 + 799], At(799, 599));
  EXPECT_EQ(large[599 * 900 + 800], 1u);  // beyond the scene the target keeps what it had
  EXPECT_EQ(large[600 * 900], 1u);
}

// Anything but a well-formed 24-bit bottom-up bitmap is "cannot be found".
TEST(BitmapReader, RejectsMalformedPicturesWithoutReadingPastTheBytes) {
  const std::vector<unsigned char> good = MakeFigure(5, 3, PixelRgb(1, 2, 3));  // stride 16
  auto patched = [&](size_t at, std::initializer_list<unsigned char> bytes) {
    std::vector<unsigned char> copy = good;
    std::copy(bytes.begin(), bytes.end(), copy.begin() + at);
    return copy;
  };
  struct Case {
    const char* fault;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"header cut short", std::vector<unsigned char>(good.begin(), good.begin() + 39)},
      {"last row cut short", std::vector<unsigned char>(good.begin(), good.end() - 1)},
      {"header size 12", patched(0, {12})},
      {"header size 124", patched(0, {124})},
      {"zero width", patched(4, {0, 0, 0, 0})},
      {"negative width", patched(4, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"zero height", patched(8, {0, 0, 0, 0})},
      {"top-down rows", patched(8, {0xFD, 0xFF, 0xFF, 0xFF})},
      {"huge width", patched(4, {0, 0, 0, 0x40})},
      {"two planes", patched(12, {2})},
      {"32 bits", patched(14, {32})},
      {"8 bits", patched(14, {8})},
      {"compressed", patched(16, {3})},
      {"colour table past the end", patched(32, {4})},
      {"absurd colour table", patched(32, {0xFF, 0xFF, 0xFF, 0xFF})},
  };
  BitmapView view;
  EXPECT_TRUE(ReadBitmap(good, view));
  EXPECT_EQ(view.width, 5);
  EXPECT_EQ(view.height, 3);
  for (const Case& c : cases) {
    // An exact-size heap copy, so a read past the end is an AddressSanitizer report.
    std::unique_ptr<unsigned char[]> exact(new unsigned char[c.bytes.size() + 1]);
    std::copy(c.bytes.begin(), c.bytes.end(), exact.get());
    EXPECT_FALSE(ReadBitmap({exact.get(), c.bytes.size()}, view)) << c.fault;
  }
}

TEST(BitmapReader, RowsAreStoredBottomUpAndSkipAColourTable) {
  std::vector<unsigned char> bytes = MakeBitmapResource(2, 2, [](int32_t x, int32_t y) {
    return PixelRgb(10 * (y + 1), 0, static_cast<uint8_t>(x));
  });
  bytes[32] = 1;  // one colour-table entry before the rows
  bytes.insert(bytes.begin() + 40, {9, 9, 9, 0});
  BitmapView view;
  ASSERT_TRUE(ReadBitmap(bytes, view));
  EXPECT_EQ(view.Row(0)[2], 10);  // top row, red byte
  EXPECT_EQ(view.Row(1)[2], 20);
  EXPECT_EQ(view.Row(1)[3], 1);  // second pixel, blue byte
}

}  // namespace
