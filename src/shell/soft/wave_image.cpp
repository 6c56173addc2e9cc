// The RIFF WAVE reader: walks the chunks after the 12-byte header, takes the first "fmt " and
// "data" chunks, and checks the format against the cue format.
#include "shell/soft/wave_image.h"

#include <cstring>

namespace {

constexpr size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr size_t kChunkHeader = 8;  // id, size
constexpr size_t kFormatBytes = 16;
constexpr uint16_t kPcm = 1;

uint32_t U16(const unsigned char* p) {
  return p[0] | p[1] << 8;
}
uint32_t U32(const unsigned char* p) {
  return U16(p) | U16(p + 2) << 16;
}

bool IsId(const unsigned char* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

}  // namespace

std::span<const unsigned char> CueSamples(std::span<const unsigned char> image) {
  if (image.size() < kRiffHeader || !IsId(image.data(), "RIFF") || !IsId(image.data() + 8, "WAVE"))
    return {};
  bool formatOk = false;
  bool formatSeen = false;
  size_t at = kRiffHeader;
  while (image.size() - at >= kChunkHeader) {
    const unsigned char* chunk = image.data() + at;
    const size_t size = U32(chunk + 4);
    const size_t room = image.size() - at - kChunkHeader;
    if (size > room) return {};  // a chunk that claims more bytes than there are
    const unsigned char* body = chunk + kChunkHeader;
    if (IsId(chunk, "fmt ") && !formatSeen) {
      formatSeen = true;
      if (size < kFormatBytes) return {};
      const uint32_t channels = U16(body + 2), rate = U32(body + 4), bits = U16(body + 14);
      formatOk = U16(body) == kPcm && channels == kCueChannels && rate == kCueRate &&
                 bits == kCueBits && U16(body + 12) == channels * bits / 8;
    } else if (IsId(chunk, "data")) {
      if (!formatOk) return {};
      return {body, size - size % (kCueChannels * kCueBits / 8)};  // whole sample frames only
    }
    at += kChunkHeader + size + (size & 1);  // chunks are padded to an even size
    if (at > image.size()) return {};
  }
  return {};
}
