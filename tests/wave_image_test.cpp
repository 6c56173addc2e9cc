// Reading the cues' RIFF WAVE images: the game's own cues play, and a broken or foreign image
// plays nothing and is never read past its end.
#include "shell/soft/wave_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/world.h"
#include "shell/soft/resource_table.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8 & 0xFF);
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
// Byte by byte, as the numbers: GCC 12 takes a four-byte range inserted into an empty vector for
// a write past its new storage (-Wstringop-overflow), although nothing follows the insertion.
void PutId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<unsigned char>(id[i]));
}

struct Format {
  uint16_t tag = 1;
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
};

Bytes FormatChunk(Format f) {
  Bytes b;
  PutId(b, "fmt ");
  Put32(b, 16);
  Put16(b, f.tag);
  Put16(b, f.channels);
  Put32(b, f.rate);
  Put32(b, f.rate * f.channels * f.bits / 8);
  Put16(b, f.channels * f.bits / 8);
  Put16(b, f.bits);
  return b;
}

Bytes Chunk(const char* id, uint32_t size, size_t bodyBytes) {
  Bytes b;
  PutId(b, id);
  Put32(b, size);
  b.resize(b.size() + bodyBytes, 0x5A);
  return b;
}

// "RIFF", size, "WAVE", then the chunks as given.
Bytes Image(const std::vector<Bytes>& chunks) {
  Bytes body;
  PutId(body, "WAVE");
  for (const Bytes& c : chunks)
    body.insert(body.end(), c.begin(), c.end());
  Bytes b;
  PutId(b, "RIFF");
  Put32(b, static_cast<uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

TEST(WaveImageTest, TheGamesCuesArePlayableWholly) {
  for (const auto& [cue, dataBytes] :
       {std::pair{IDR_WAVE_EXPLOSION, 162620u}, std::pair{IDR_WAVE_BOSS_HIT, 67584u},
        std::pair{IDR_WAVE_BOSS_RAGE, 253952u}}) {
    SCOPED_TRACE(cue);
    EXPECT_EQ(CueSamples(LookUpResource(kGameResources, cue, ResourceKind::Wave)).size(),
              dataBytes);
  }
}

TEST(WaveImageTest, FindsTheSamplesOfAWellFormedImage) {
  const Bytes plain = Image({FormatChunk({}), Chunk("data", 400, 400)});
  const auto samples = CueSamples(plain);
  ASSERT_EQ(samples.size(), 400u);
  EXPECT_EQ(samples.data(), plain.data() + 44) << "the data chunk's body, in place";

  // Other chunks before and between, one of odd size with its pad byte: skipped.
  const Bytes withList =
      Image({Chunk("LIST", 3, 4), FormatChunk({}), Chunk("fact", 4, 4), Chunk("data", 8, 8)});
  EXPECT_EQ(CueSamples(withList).size(), 8u);

  // A data chunk with a torn last sample frame plays the whole frames only.
  EXPECT_EQ(CueSamples(Image({FormatChunk({}), Chunk("data", 10, 10)})).size(), 8u);
}

TEST(WaveImageTest, PlaysNothingForAnythingElse) {
  struct Case {
    const char* what;
    Bytes image;
  };
  Bytes truncated = Image({FormatChunk({}), Chunk("data", 400, 400)});
  truncated.resize(truncated.size() - 1);
  Bytes notWave = Image({FormatChunk({}), Chunk("data", 8, 8)});
  notWave[8] = 'X';
  const Case cases[] = {
      {"empty", {}},
      {"shorter than the header", Bytes{'R', 'I', 'F', 'F', 0, 0}},
      {"not WAVE", notWave},
      {"no format chunk", Image({Chunk("data", 8, 8)})},
      {"data before format", Image({Chunk("data", 8, 8), FormatChunk({})})},
      {"no data chunk", Image({FormatChunk({})})},
      {"data runs past the end", truncated},
      {"a chunk size far past the end", Image({FormatChunk({}), Chunk("data", 0xFFFFFFF0u, 8)})},
      {"format chunk too short", Image({Chunk("fmt ", 8, 8), Chunk("data", 8, 8)})},
      {"not PCM", Image({FormatChunk({.tag = 3}), Chunk("data", 8, 8)})},
      {"mono", Image({FormatChunk({.channels = 1}), Chunk("data", 8, 8)})},
      {"22050 Hz", Image({FormatChunk({.rate = 22050}), Chunk("data", 8, 8)})},
      {"8-bit", Image({FormatChunk({.bits = 8}), Chunk("data", 8, 8)})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(CueSamples(c.image).empty());
  }
}

}  // namespace
