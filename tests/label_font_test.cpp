// The label font, read the way the canvas reads it: one row byte at a time through GlyphRow.
#include "shell/soft/label_font.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace {

using Glyph = std::array<uint8_t, kGlyphHeight>;

Glyph GlyphOf(int c) {
  Glyph glyph{};
  for (int r = 0; r < kGlyphHeight; ++r)
    glyph[r] = GlyphRow(static_cast<unsigned char>(c), r);
  return glyph;
}

bool IsPrintable(int c) {
  return c >= 32 && c <= 126;
}

// The first and last rows with a lit pixel, or -1 when the glyph is blank.
int TopRow(const Glyph& glyph) {
  for (int r = 0; r < kGlyphHeight; ++r) {
    if (glyph[r] != 0) return r;
  }
  return -1;
}
int BottomRow(const Glyph& glyph) {
  for (int r = kGlyphHeight - 1; r >= 0; --r) {
    if (glyph[r] != 0) return r;
  }
  return -1;
}

// The glyph as '#'/'.' rows, so a failure shows what was drawn.
std::string Picture(const Glyph& glyph) {
  std::string text;
  for (uint8_t row : glyph) {
    for (int x = 0; x < kGlyphWidth; ++x)
      text += (row & (0x80u >> x)) ? '#' : '.';
    text += '\n';
  }
  return text;
}

std::string Name(int c) {
  return IsPrintable(c) ? "'" + std::string(1, static_cast<char>(c)) + "'"
                        : "byte " + std::to_string(c);
}

TEST(LabelFontTest, SpaceIsBlankAndEveryOtherPrintableCharacterShows) {
  EXPECT_EQ(TopRow(GlyphOf(' ')), -1) << Picture(GlyphOf(' '));
  for (int c = 33; c <= 126; ++c)
    EXPECT_NE(TopRow(GlyphOf(c)), -1) << Name(c) << " is blank";
}

// Column 7 (bit 0) is the gap between neighbouring characters of a label.
TEST(LabelFontTest, NoGlyphLightsTheSpacingColumn) {
  for (int c = 0; c <= 255; ++c) {
    for (int r = 0; r < kGlyphHeight; ++r) {
      EXPECT_EQ(GlyphRow(static_cast<unsigned char>(c), r) & 0x01, 0)
          << Name(c) << " row " << r << "\n"
          << Picture(GlyphOf(c));
    }
  }
}

// Catches a glyph pasted twice or shifted into its neighbour's slot; the digits of a score and the
// box that stands in for unknown bytes must never be mistaken for one another.
TEST(LabelFontTest, PrintableGlyphsAndTheBoxAreAllDifferent) {
  const Glyph box = GlyphOf(0x00);
  for (int a = 32; a <= 126; ++a) {
    EXPECT_NE(GlyphOf(a), box) << Name(a) << " looks like the box";
    for (int b = a + 1; b <= 126; ++b) {
      EXPECT_NE(GlyphOf(a), GlyphOf(b)) << Name(a) << " and " << Name(b) << " look alike\n"
                                        << Picture(GlyphOf(a));
    }
  }
}

TEST(LabelFontTest, BytesOutsideThePrintableRangeDrawTheBox) {
  const Glyph box = GlyphOf(0x00);
  EXPECT_NE(TopRow(box), -1) << "the box is blank";
  for (int c = 0; c <= 255; ++c) {
    if (!IsPrintable(c)) {
      EXPECT_EQ(GlyphOf(c), box) << Name(c) << "\n" << Picture(GlyphOf(c));
    }
  }
}

// Capitals and digits are 11 rows tall and stand on the baseline row 12; lowercase bodies stand on
// the same row and descenders hang below it, so a label's letters line up.
TEST(LabelFontTest, LettersAndDigitsLineUpOnTheBaseline) {
  struct Group {
    const char* characters;
    int top;     // first lit row
    int bottom;  // last lit row
  };
  const Group groups[] = {
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2, 12},  // capital height
      {"0123456789", 2, 12},                  // digits as tall as capitals
      {"acemnorsuvwxz", 6, 12},               // lowercase body: x-height 7
      {"bdfhkl", 2, 12},                      // ascenders reach capital height
      {"it", 3, 12},                          // dot of the i, top of the t
      {"gpqy", 6, 15},                        // descenders
      {"j", 3, 15},
  };
  for (const Group& group : groups) {
    for (const char* p = group.characters; *p != '\0'; ++p) {
      const Glyph glyph = GlyphOf(static_cast<unsigned char>(*p));
      EXPECT_EQ(TopRow(glyph), group.top) << Name(*p) << "\n" << Picture(glyph);
      EXPECT_EQ(BottomRow(glyph), group.bottom) << Name(*p) << "\n" << Picture(glyph);
    }
  }
}

// The minus sign of a negative hit-point count: a solid bar at mid height, plain to see.
TEST(LabelFontTest, MinusIsASolidBarAtMidHeight) {
  const Glyph minus = GlyphOf('-');
  const int top = TopRow(minus);
  const int bottom = BottomRow(minus);
  EXPECT_GE(top, 6) << Picture(minus);
  EXPECT_LE(bottom, 9) << Picture(minus);
  for (int r = top; r <= bottom; ++r) {
    EXPECT_EQ(minus[r], minus[top]) << Picture(minus);
    int lit = 0;
    int runs = 0;
    for (int x = 0; x < kGlyphWidth; ++x) {
      const bool on = minus[r] & (0x80u >> x);
      const bool leftOn = x > 0 && (minus[r] & (0x80u >> (x - 1)));
      lit += on;
      runs += on && !leftOn;
    }
    EXPECT_GE(lit, 5) << Picture(minus);
    EXPECT_EQ(runs, 1) << Picture(minus);
  }
}

TEST(LabelFontTest, RowsOutsideTheCellAreDark) {
  for (int c : {int{'A'}, int{'8'}, 0x00, 0x7F, 0xFF}) {
    for (int r : {-1000, -1, kGlyphHeight, kGlyphHeight + 1, 1000}) {
      EXPECT_EQ(GlyphRow(static_cast<unsigned char>(c), r), 0) << Name(c) << " row " << r;
    }
  }
}

}  // namespace
