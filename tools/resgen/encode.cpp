// File formats written by the generator: 24-bit bitmaps, PCM waves and PNG pictures (the last for
// the contact sheet and the desktop icons, with a small deflate of its own: LZ77 matching and the
// fixed Huffman codes).
#include <array>
#include <cstdlib>

#include "resgen.h"

namespace resgen {

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

void PutU32Big(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(tag[i]));
}

// ---- Deflate (fixed Huffman codes) ----

struct BitWriter {
  std::vector<uint8_t> bytes;
  uint32_t pending = 0;
  int count = 0;
};

// Puts `bits` low bits of `value`, least significant first, as deflate packs its fields.
void PutBits(BitWriter& w, uint32_t value, int bits) {
  for (int i = 0; i < bits; ++i) {
    w.pending |= ((value >> i) & 1u) << w.count;
    if (++w.count == 8) {
      w.bytes.push_back(static_cast<uint8_t>(w.pending));
      w.pending = 0;
      w.count = 0;
    }
  }
}

// Huffman codes go most significant bit first.
void PutCode(BitWriter& w, uint32_t code, int bits) {
  for (int i = bits - 1; i >= 0; --i)
    PutBits(w, (code >> i) & 1u, 1);
}

void PutLiteralOrLength(BitWriter& w, int symbol) {
  if (symbol < 144) {
    PutCode(w, 0x30 + symbol, 8);
  } else if (symbol < 256) {
    PutCode(w, 0x190 + (symbol - 144), 9);
  } else if (symbol < 280) {
    PutCode(w, symbol - 256, 7);
  } else {
    PutCode(w, 0xC0 + (symbol - 280), 8);
  }
}

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& w, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length)
    --l;
  PutLiteralOrLength(w, 257 + l);
  PutBits(w, length - kLengthBase[l], kLengthExtra[l]);
  int d = 29;
  while (kDistanceBase[d] > distance)
    --d;
  PutCode(w, d, 5);
  PutBits(w, distance - kDistanceBase[d], kDistanceExtra[d]);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  constexpr int kWindow = 32768;
  constexpr int kHashSize = 1 << 15;
  constexpr int kMaxChain = 48;
  BitWriter w;
  PutBits(w, 1, 1);  // the final block
  PutBits(w, 1, 2);  // fixed Huffman codes
  std::vector<int> head(kHashSize, -1);
  std::vector<int> previous(data.size(), -1);
  const int n = static_cast<int>(data.size());
  auto hash_at = [&](int i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1);
  };
  auto insert = [&](int i) {
    if (i + 2 >= n) return;
    const int h = hash_at(i);
    previous[i] = head[h];
    head[h] = i;
  };
  int i = 0;
  while (i < n) {
    int best_length = 0;
    int best_distance = 0;
    if (i + 2 < n) {
      int candidate = head[hash_at(i)];
      for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
        if (i - candidate > kWindow) break;
        int length = 0;
        while (length < 258 && i + length < n && data[candidate + length] == data[i + length]) {
          ++length;
        }
        if (length > best_length) {
          best_length = length;
          best_distance = i - candidate;
          if (length == 258) break;
        }
        candidate = previous[candidate];
      }
    }
    if (best_length >= 3) {
      PutMatch(w, best_length, best_distance);
      for (int k = 0; k < best_length; ++k)
        insert(i + k);
      i += best_length;
    } else {
      PutLiteralOrLength(w, data[i]);
      insert(i);
      ++i;
    }
  }
  PutLiteralOrLength(w, 256);  // end of block
  if (w.count > 0) w.bytes.push_back(static_cast<uint8_t>(w.pending));
  return w.bytes;
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1;
  uint32_t b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  PutU32Big(out, static_cast<uint32_t>(body.size()));
  const size_t start = out.size();
  PutTag(out, type);
  out.insert(out.end(), body.begin(), body.end());
  PutU32Big(out, Crc32(&out[start], out.size() - start));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Image& image) {
  const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t pixel_bytes = stride * image.height;
  std::vector<uint8_t> out;
  out.reserve(54 + pixel_bytes);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, 54 + pixel_bytes);  // file size
  PutU32(out, 0);                 // reserved
  PutU32(out, 54);                // offset of the pixels
  PutU32(out, 40);                // BITMAPINFOHEADER size
  PutU32(out, image.width);
  PutU32(out, image.height);  // positive: rows from the bottom up
  PutU16(out, 1);             // planes
  PutU16(out, 24);            // bits per pixel
  PutU32(out, 0);             // no compression
  PutU32(out, pixel_bytes);
  PutU32(out, 2835);  // 72 dots per inch
  PutU32(out, 2835);
  PutU32(out, 0);  // no colour table
  PutU32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = PixelAt(image, x, y);
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
    }
    for (uint32_t pad = image.width * 3; pad < stride; ++pad)
      out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> EncodeWav(const Wave& wave) {
  const uint32_t data_bytes = static_cast<uint32_t>(wave.samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + data_bytes);
  PutTag(out, "RIFF");
  PutU32(out, 36 + data_bytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, 2);  // stereo
  PutU32(out, kSampleRate);
  PutU32(out, kSampleRate * 4);  // bytes per second
  PutU16(out, 4);                // block align
  PutU16(out, 16);               // bits per sample
  PutTag(out, "data");
  PutU32(out, data_bytes);
  for (int16_t s : wave.samples)
    PutU16(out, static_cast<uint16_t>(s));
  return out;
}

namespace {

// A PNG of 8-bit channels, `channels` bytes a pixel (3: true colour, 4: with alpha), rows from
// the top.
std::vector<uint8_t> EncodePngPixels(int width, int height, int channels, const uint8_t* pixels) {
  // Each row gets the filter that leaves the smallest sum of byte magnitudes.
  const size_t stride = static_cast<size_t>(width) * channels;
  std::vector<uint8_t> raw;
  raw.reserve((stride + 1) * height);
  std::vector<uint8_t> best(stride), trial(stride);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + stride * y;
    const uint8_t* up = y > 0 ? row - stride : nullptr;
    int best_filter = 0;
    long best_cost = -1;
    for (int filter = 0; filter < 5; ++filter) {
      long cost = 0;
      for (size_t i = 0; i < stride; ++i) {
        const size_t left = static_cast<size_t>(channels);
        const int a = i >= left ? row[i - left] : 0;
        const int b = up ? up[i] : 0;
        const int c = (up && i >= left) ? up[i - left] : 0;
        int predicted = 0;
        if (filter == 1) predicted = a;
        if (filter == 2) predicted = b;
        if (filter == 3) predicted = (a + b) / 2;
        if (filter == 4) predicted = Paeth(a, b, c);
        trial[i] = static_cast<uint8_t>(row[i] - predicted);
        cost += trial[i] < 128 ? trial[i] : 256 - trial[i];
      }
      if (best_cost < 0 || cost < best_cost) {
        best_cost = cost;
        best_filter = filter;
        best.swap(trial);
      }
    }
    raw.push_back(static_cast<uint8_t>(best_filter));
    raw.insert(raw.end(), best.begin(), best.end());
  }
  std::vector<uint8_t> zlib = {0x78, 0x01};
  const std::vector<uint8_t> deflated = Deflate(raw);
  zlib.insert(zlib.end(), deflated.begin(), deflated.end());
  PutU32Big(zlib, Adler32(raw));

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutU32Big(header, width);
  PutU32Big(header, height);
  header.push_back(8);                      // bits per channel
  header.push_back(channels == 4 ? 6 : 2);  // true colour, with alpha or without
  header.push_back(0);                      // deflate
  header.push_back(0);                      // standard filters
  header.push_back(0);                      // not interlaced
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", zlib);
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
  return EncodePngPixels(image.width, image.height, 3, image.rgb.data());
}

std::vector<uint8_t> EncodePng(const RgbaImage& image) {
  return EncodePngPixels(image.width, image.height, 4, image.rgba.data());
}

}  // namespace resgen
