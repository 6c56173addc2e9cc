// The label font: a fixed-width bitmap font, 8 pixels wide and 16 pixels tall, bold strokes,
// covering the printable ASCII characters 32..126; any other byte draws as a small box.
#pragma once
#include <cstdint>
constexpr int kGlyphWidth = 8;    // pixels, every character (fixed pitch)
constexpr int kGlyphHeight = 16;  // pixels, the height of the label box
// Row r (0 = top) of the glyph for byte c: bit 7 is the leftmost pixel.
// A row outside 0..kGlyphHeight-1 reads as 0 (no pixel lit).
uint8_t GlyphRow(unsigned char c, int r);
