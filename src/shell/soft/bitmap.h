// Reading a picture as a Windows bitmap resource holds it: a 40-byte header, an optional colour
// table, then 24-bit rows stored bottom-up, each padded to a multiple of 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

struct BitmapView {
  int32_t width = 0;
  int32_t height = 0;
  const unsigned char* bottomRow = nullptr;  // the first row stored is the picture's last
  size_t stride = 0;                         // bytes from one stored row to the next

  // The pixels of picture row `row` (0 = top), three bytes each in blue, green, red order.
  const unsigned char* Row(int32_t row) const {
    return bottomRow + static_cast<size_t>(height - 1 - row) * stride;
  }
};

// The largest width or height the reader takes; anything bigger is treated as malformed.
constexpr int32_t kMaxBitmapSide = 16384;

// Checks the header and the size of the bytes; true and a view into `bytes` for a well-formed
// 24-bit uncompressed bottom-up picture, false for anything else. Never reads past `bytes`.
bool ReadBitmap(std::span<const unsigned char> bytes, BitmapView& view);
