// ReadBitmap: header checks for pictures stored as bitmap resources.
#include "shell/soft/bitmap.h"

namespace {

constexpr size_t kHeaderSize = 40;
constexpr uint16_t kPlanes = 1;
constexpr uint16_t kBitsPerPixel = 24;
constexpr uint32_t kUncompressed = 0;  // BI_RGB
constexpr uint32_t kMaxColourTable = 256;

uint32_t ReadU32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t ReadU16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

bool ReadBitmap(std::span<const unsigned char> bytes, BitmapView& view) {
  if (bytes.size() < kHeaderSize) return false;
  const unsigned char* header = bytes.data();
  const auto width = static_cast<int32_t>(ReadU32(header + 4));
  const auto height = static_cast<int32_t>(ReadU32(header + 8));
  const uint32_t colourTable = ReadU32(header + 32);  // biClrUsed: entries before the rows
  if (ReadU32(header) != kHeaderSize || ReadU16(header + 12) != kPlanes ||
      ReadU16(header + 14) != kBitsPerPixel || ReadU32(header + 16) != kUncompressed) {
    return false;
  }
  // Only bottom-up pictures (positive height) of a sane size; sizes are bounded before any
  // arithmetic, so nothing below can overflow.
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
      colourTable > kMaxColourTable) {
    return false;
  }
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t rowsAt = kHeaderSize + size_t{colourTable} * 4;
  if (bytes.size() < rowsAt || bytes.size() - rowsAt < stride * static_cast<size_t>(height)) {
    return false;
  }
  view.width = width;
  view.height = height;
  view.bottomRow = header + rowsAt;
  view.stride = stride;
  return true;
}
