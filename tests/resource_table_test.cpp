// The game's own pictures and sounds, as the build embeds them: every number of the catalogue is
// there with the right kind, size and format; the sprites stand on the pure-red key; the sky's top
// rows are the label box colour; the sounds stay below full scale; other numbers find nothing.
#include "shell/soft/resource_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <span>
#include <unordered_map>
#include <utility>

namespace {

using Bytes = std::span<const unsigned char>;

uint32_t ReadU16(Bytes b, size_t at) {
  return b[at] | (b[at + 1] << 8);
}
uint32_t ReadU32(Bytes b, size_t at) {
  return ReadU16(b, at) | (ReadU16(b, at + 2) << 16);
}
int32_t ReadS32(Bytes b, size_t at) {
  return static_cast<int32_t>(ReadU32(b, at));
}

struct PictureCase {
  uint16_t id;
  int width;
  int height;
  bool sprite;  // drawn with pure red as its transparent colour
};

// The picture catalogue: number, size, and whether it is a keyed sprite.
constexpr PictureCase kPictures[] = {
    {104, 800, 600, false}, {105, 118, 25, true},  {106, 11, 11, true},   {107, 40, 47, true},
    {108, 39, 40, true},    {111, 179, 198, true}, {112, 179, 198, true}, {113, 179, 198, true},
    {120, 118, 25, true},   {121, 118, 25, true}};

struct SoundCase {
  uint16_t id;
  uint32_t dataBytes;
};

// The sound catalogue: number and the size of its data chunk.
constexpr SoundCase kSounds[] = {{114, 162620}, {116, 67584}, {117, 253952}};

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os) {
  *os << "RGB(" << c.r << ", " << c.g << ", " << c.b << ")";
}

constexpr Rgb kKey = {255, 0, 0};
constexpr Rgb kSkyTop = {42, 46, 115};

// A picture resource read as the platform reads a bitmap resource: the 40-byte header, then
// 24-bit rows from the bottom up, each padded to 4 bytes.
struct Picture {
  Bytes bytes;
  int width = 0;
  int height = 0;
  size_t stride = 0;
};

Picture ReadPicture(Bytes bytes) {
  Picture p;
  p.bytes = bytes;
  p.width = ReadS32(bytes, 4);
  p.height = ReadS32(bytes, 8);
  p.stride = (static_cast<size_t>(p.width) * 3 + 3) & ~static_cast<size_t>(3);
  return p;
}

// Pixel (x, y) with y counted from the top of the picture.
Rgb PixelAt(const Picture& p, int x, int y) {
  const size_t at = 40 + static_cast<size_t>(p.height - 1 - y) * p.stride + x * 3;
  return {p.bytes[at + 2], p.bytes[at + 1], p.bytes[at]};
}

TEST(GameResources, EveryPictureIsAnUncompressed24BitBitmapOfItsCatalogueSize) {
  for (const PictureCase& c : kPictures) {
    SCOPED_TRACE(testing::Message() << "picture " << c.id);
    const Bytes bytes = LookUpResource(kGameResources, c.id, ResourceKind::Bitmap);
    ASSERT_GE(bytes.size(), 40u);
    EXPECT_EQ(ReadU32(bytes, 0), 40u);  // BITMAPINFOHEADER, no file header before it
    EXPECT_EQ(ReadS32(bytes, 4), c.width);
    EXPECT_EQ(ReadS32(bytes, 8), c.height);  // positive: rows from the bottom up
    EXPECT_EQ(ReadU16(bytes, 12), 1u);       // planes
    EXPECT_EQ(ReadU16(bytes, 14), 24u);      // bits per pixel
    EXPECT_EQ(ReadU32(bytes, 16), 0u);       // BI_RGB, no compression
    EXPECT_EQ(ReadU32(bytes, 32), 0u);       // no colour table
    const Picture p = ReadPicture(bytes);
    ASSERT_GT(p.width, 0);
    ASSERT_GT(p.height, 0);
    EXPECT_GE(bytes.size(), 40 + p.stride * p.height);
  }
}

TEST(GameResources, SpritesStandOnPureRedWithoutReddishFringes) {
  for (const PictureCase& c : kPictures) {
    if (!c.sprite) continue;
    SCOPED_TRACE(testing::Message() << "sprite " << c.id);
    const Picture p = ReadPicture(LookUpResource(kGameResources, c.id, ResourceKind::Bitmap));
    ASSERT_EQ(p.width, c.width);
    ASSERT_EQ(p.height, c.height);
    EXPECT_EQ(PixelAt(p, 0, 0), kKey);
    EXPECT_EQ(PixelAt(p, c.width - 1, 0), kKey);
    EXPECT_EQ(PixelAt(p, 0, c.height - 1), kKey);
    EXPECT_EQ(PixelAt(p, c.width - 1, c.height - 1), kKey);

    // There is a figure, and where it meets the key its edge is not a near-red that would show
    // as a pink fringe.
    int figure = 0;
    int fringe = 0;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const Rgb px = PixelAt(p, x, y);
        if (px == kKey) continue;
        ++figure;
        bool touches_key = false;
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          const int nx = x + dx;
          const int ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < c.width && ny < c.height && PixelAt(p, nx, ny) == kKey) {
            touches_key = true;
          }
        }
        if (touches_key && (255 - px.r) + px.g + px.b < 100) ++fringe;
      }
    }
    EXPECT_GT(figure, c.width * c.height / 5);
    EXPECT_EQ(fringe, 0);
  }
}

TEST(GameResources, SkyTopRowsAreTheLabelColourApartFromStars) {
  const Picture sky = ReadPicture(LookUpResource(kGameResources, 104, ResourceKind::Bitmap));
  ASSERT_EQ(sky.width, 800);
  ASSERT_EQ(sky.height, 600);
  // A star is a pixel lighter than the sky in every channel; each of the top 64 rows is at least
  // 90% plain sky.
  for (int y = 0; y < 64; ++y) {
    int plain = 0;
    int neither = 0;
    int first_neither = -1;
    for (int x = 0; x < sky.width; ++x) {
      const Rgb px = PixelAt(sky, x, y);
      if (px == kSkyTop) {
        ++plain;
      } else if (px.r < kSkyTop.r || px.g < kSkyTop.g || px.b < kSkyTop.b) {
        if (neither++ == 0) first_neither = x;
      }
    }
    EXPECT_GE(plain * 10, sky.width * 9) << "row " << y;
    EXPECT_EQ(neither, 0) << "row " << y << " from column " << first_neither
                          << " has pixels that are neither sky nor star";
  }
}

TEST(GameResources, SkyIsMostlyItsTopColourHasNoPureRedAndLightensDownwards) {
  const Picture sky = ReadPicture(LookUpResource(kGameResources, 104, ResourceKind::Bitmap));
  ASSERT_EQ(sky.height, 600);
  std::unordered_map<uint32_t, int> counts;
  double band_light[8] = {};  // mean of r + g + b over 8 bands of rows below the plain top
  for (int y = 0; y < sky.height; ++y) {
    for (int x = 0; x < sky.width; ++x) {
      const Rgb px = PixelAt(sky, x, y);
      ++counts[(px.r << 16) | (px.g << 8) | px.b];
      if (y >= 64) band_light[(y - 64) * 8 / (600 - 64)] += px.r + px.g + px.b;
    }
  }
  EXPECT_EQ(counts.count(0xFF0000), 0u) << "pure red in the sky";
  uint32_t most = 0;
  int most_count = 0;
  for (auto [colour, count] : counts) {
    if (count > most_count) {
      most = colour;
      most_count = count;
    }
  }
  EXPECT_EQ(most, (42u << 16) | (46u << 8) | 115u);
  for (int band = 1; band < 8; ++band) {
    EXPECT_GT(band_light[band], band_light[band - 1]) << "band " << band;
  }
}

TEST(GameResources, EverySoundIsStereo16BitPcmAt44100WithItsDataSizeAndHeadroom) {
  for (const SoundCase& c : kSounds) {
    SCOPED_TRACE(testing::Message() << "sound " << c.id);
    const Bytes bytes = LookUpResource(kGameResources, c.id, ResourceKind::Wave);
    ASSERT_EQ(bytes.size(), 44 + c.dataBytes);
    EXPECT_EQ(ReadU32(bytes, 0), 0x46464952u);  // "RIFF"
    EXPECT_EQ(ReadU32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(ReadU32(bytes, 8), 0x45564157u);   // "WAVE"
    EXPECT_EQ(ReadU32(bytes, 12), 0x20746D66u);  // "fmt "
    EXPECT_EQ(ReadU32(bytes, 16), 16u);
    EXPECT_EQ(ReadU16(bytes, 20), 1u);  // PCM
    EXPECT_EQ(ReadU16(bytes, 22), 2u);  // channels
    EXPECT_EQ(ReadU32(bytes, 24), 44100u);
    EXPECT_EQ(ReadU32(bytes, 28), 176400u);
    EXPECT_EQ(ReadU16(bytes, 32), 4u);           // block align
    EXPECT_EQ(ReadU16(bytes, 34), 16u);          // bits per sample
    EXPECT_EQ(ReadU32(bytes, 36), 0x61746164u);  // "data"
    EXPECT_EQ(ReadU32(bytes, 40), c.dataBytes);

    // Loud enough to hear, at most -1 dBFS, and starting and ending near silence (no click).
    int peak = 0;
    const size_t samples = c.dataBytes / 2;
    for (size_t i = 0; i < samples; ++i) {
      peak = std::max(peak, std::abs(static_cast<int16_t>(ReadU16(bytes, 44 + 2 * i))));
    }
    EXPECT_LE(peak, 29204);
    EXPECT_GE(peak, 8000);
    for (size_t i : {size_t{0}, size_t{1}, samples - 2, samples - 1}) {
      EXPECT_LE(std::abs(static_cast<int16_t>(ReadU16(bytes, 44 + 2 * i))), 330) << "sample " << i;
    }
  }
}

TEST(GameResources, EachCatalogueNumberIsHeldOnceAndOthersFindNothing) {
  EXPECT_EQ(kGameResources.size(), std::size(kPictures) + std::size(kSounds));
  for (const ResourceEntry& entry : kGameResources) {
    int same = 0;
    for (const ResourceEntry& other : kGameResources) {
      if (other.id == entry.id && other.kind == entry.kind) ++same;
    }
    EXPECT_EQ(same, 1) << "resource " << entry.id;
  }

  struct Missing {
    uint16_t id;
    ResourceKind kind;
  };
  // Gaps in the numbering, the neighbours of the catalogue, and catalogue numbers asked for as
  // the other kind: a lookup goes by number and kind, never by position.
  constexpr Missing kMissing[] = {
      {103, ResourceKind::Bitmap}, {109, ResourceKind::Bitmap}, {110, ResourceKind::Bitmap},
      {114, ResourceKind::Bitmap}, {115, ResourceKind::Bitmap}, {115, ResourceKind::Wave},
      {118, ResourceKind::Bitmap}, {119, ResourceKind::Bitmap}, {122, ResourceKind::Bitmap},
      {104, ResourceKind::Wave},   {113, ResourceKind::Wave},   {118, ResourceKind::Wave},
      {0, ResourceKind::Bitmap},   {0, ResourceKind::Wave}};
  for (const Missing& m : kMissing) {
    EXPECT_TRUE(LookUpResource(kGameResources, m.id, m.kind).empty())
        << "resource " << m.id << (m.kind == ResourceKind::Wave ? " as a wave" : " as a bitmap");
  }
}

}  // namespace
