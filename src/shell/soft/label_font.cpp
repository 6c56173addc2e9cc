// Provisional glyphs (a bar per character) until the drawn label font lands.
#include "shell/soft/label_font.h"
uint8_t GlyphRow(unsigned char c, int r) {
  return c == ' ' ? 0 : (r > 2 && r < 13 ? 0x7C : 0);
}
