// Looks at what the real programs showed and played, for the end-to-end scripts of both. A shot is
// the game window as ImageMagick writes a binary PPM (P6) or as `xwd` dumps it (read directly, so
// a script can take and judge shots quickly); the pictures and sounds are the game's own, from the
// embedded table, which the build makes from the same res/game.rc the Windows program compiles in.
//
//   shot_probe find SHOT IDS [TOLERANCE]   where the pictures IDS (e.g. 105,120,121) stand
//   shot_probe whole SHOT IDS              where they stand whole, every figure pixel exact
//   shot_probe score SHOT [TOLERANCE]      the score the score label shows
//   shot_probe colour SHOT X Y             the colour of one pixel, as "R G B"
//   shot_probe count SHOT R G B X0 Y0 X1 Y1 [TOLERANCE]
//                                          how many pixels of the box [X0, X1) x [Y0, Y1) have
//                                          that colour, as "matching of total"
//   shot_probe background SHOT FIRST_ROW LAST_ROW
//                                          the scroll offset s (0 .. -799) whose wrapped sky best
//                                          matches those rows, as "s matching total"
//   shot_probe region SHOT FRAME LEFT TOP RIGHT BOTTOM
//                                          how many pixels of the box differ from a raw frame
//                                          (800 x 600 0x00RRGGBB words, as the canvas
//                                          cross-check writes them), as "differing total"
//   shot_probe size SHOT                   the shot's width and height, as "W H"
//   shot_probe hears AUDIO.raw CUE         whether a cue's opening samples are in the output
//
// `find` takes a picture as standing at (x, y) when at least 90% of its figure pixels (all but
// the pure-red key) that fall inside the shot match it within TOLERANCE per channel (0 by default;
// a 16-bit screen needs about 8), at least half of them inside; `whole` wants all of them inside
// and exact. Both print "id x y" a line. The audio output is what SDL's disk driver writes: the
// device's raw 16-bit stereo samples. Exit code 0 when something was found, 1 when not, 2 on a
// usage or file error.
#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/soft/bitmap.h"
#include "shell/soft/label_font.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"
#include "shell/soft/wave_image.h"

namespace {

constexpr int32_t kFrameWidth = 800, kFrameHeight = 600;

struct Shot {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<Pixel> pixels;  // rows top-down
  Pixel At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- Reading shots -----------------------------------------------------------------------------

// The next number of a PPM header, past whitespace and "#" comment lines.
bool ReadHeaderNumber(std::istream& file, int32_t& number) {
  for (;;) {
    const int c = file.peek();
    if (c == '#') {
      std::string comment;
      std::getline(file, comment);
    } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      file.get();
    } else {
      return static_cast<bool>(file >> number);
    }
  }
}

bool ReadPpm(const std::string& path, Shot& shot) {
  std::ifstream file(path, std::ios::binary);
  char magic[2] = {};
  int32_t maxValue = 0;
  if (!file.read(magic, 2) || magic[0] != 'P' || magic[1] != '6' ||
      !ReadHeaderNumber(file, shot.width) || !ReadHeaderNumber(file, shot.height) ||
      !ReadHeaderNumber(file, maxValue) || maxValue != 255 || shot.width <= 0 || shot.height <= 0) {
    std::fprintf(stderr, "shot_probe: %s is not an 8-bit binary PPM\n", path.c_str());
    return false;
  }
  file.get();  // the one whitespace byte before the pixels
  std::vector<unsigned char> rgb(static_cast<size_t>(shot.width) * shot.height * 3);
  file.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  if (file.gcount() != static_cast<std::streamsize>(rgb.size())) {
    std::fprintf(stderr, "shot_probe: %s is cut short\n", path.c_str());
    return false;
  }
  shot.pixels.resize(rgb.size() / 3);
  for (size_t i = 0; i < shot.pixels.size(); ++i)
    shot.pixels[i] = PixelRgb(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
  return true;
}

// An X window dump: a header of big-endian 32-bit fields, the window's name, a colour map, then
// the pixel rows in the server's byte order. Only true-colour dumps of 16, 24 or 32 bits a pixel;
// channels narrower than 8 bits are scaled to 0 .. 255.
bool ReadXwd(const std::string& path, Shot& shot) {
  const std::vector<unsigned char> bytes = ReadFile(path);
  const auto field = [&](size_t index) -> uint32_t {
    const unsigned char* p = &bytes[index * 4];
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  };
  if (bytes.size() < 100 || field(1) != 7) {
    std::fprintf(stderr, "shot_probe: %s is not an X window dump\n", path.c_str());
    return false;
  }
  const uint32_t headerSize = field(0), width = field(4), height = field(5);
  const uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12);
  const uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16);
  const uint32_t colours = field(19);
  const size_t pixelsAt = size_t{headerSize} + size_t{colours} * 12;
  const uint32_t pixelBytes = bitsPerPixel / 8;
  if (field(2) != 2 || pixelBytes < 2 || pixelBytes > 4 || width == 0 || height == 0 ||
      width > 16384 || height > 16384 || bytesPerLine < width * pixelBytes ||
      bytes.size() < pixelsAt + size_t{bytesPerLine} * height) {
    std::fprintf(stderr, "shot_probe: %s is not a true-colour dump this tool reads\n",
                 path.c_str());
    return false;
  }
  const auto channel = [](uint32_t value, uint32_t mask) -> uint8_t {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask), bits = std::clamp(std::popcount(mask), 1, 8);
    const uint32_t v = (value & mask) >> shift & ((1u << bits) - 1);
    return static_cast<uint8_t>(v * 255 / ((1u << bits) - 1));  // 5 bits: 0x1F is 0xFF
  };
  shot.width = static_cast<int32_t>(width);
  shot.height = static_cast<int32_t>(height);
  shot.pixels.resize(size_t{width} * height);
  for (uint32_t y = 0; y < height; ++y) {
    const unsigned char* row = &bytes[pixelsAt + size_t{y} * bytesPerLine];
    for (uint32_t x = 0; x < width; ++x) {
      const unsigned char* p = row + size_t{x} * pixelBytes;
      uint32_t value = 0;
      for (uint32_t i = 0; i < pixelBytes; ++i) {
        const uint32_t byte = byteOrder == 0 ? p[i] : p[pixelBytes - 1 - i];  // 0: LSB first
        value |= byte << (8 * i);
      }
      shot.pixels[size_t{y} * width + x] =
          PixelRgb(channel(value, redMask), channel(value, greenMask), channel(value, blueMask));
    }
  }
  return true;
}

bool ReadShot(const std::string& path, Shot& shot) {
  const bool xwd = path.size() > 4 && path.compare(path.size() - 4, 4, ".xwd") == 0;
  return xwd ? ReadXwd(path, shot) : ReadPpm(path, shot);
}

// ---- Pictures ----------------------------------------------------------------------------------

bool Near(Pixel p, Pixel q, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    if (std::abs(static_cast<int>(p >> shift & 0xFF) - static_cast<int>(q >> shift & 0xFF)) >
        tolerance) {
      return false;
    }
  }
  return true;
}

bool GamePicture(uint16_t id, BitmapView& picture) {
  if (ReadBitmap(LookUpResource(kGameResources, id, ResourceKind::Bitmap), picture)) return true;
  std::fprintf(stderr, "shot_probe: no picture %u\n", id);
  return false;
}

Pixel PicturePixel(const BitmapView& picture, int32_t x, int32_t y) {
  const unsigned char* bgr = picture.Row(y) + x * 3;
  return PixelRgb(bgr[2], bgr[1], bgr[0]);
}

struct FigurePixel {
  int32_t x, y;
  Pixel colour;
};

// The picture's figure: every pixel but the pure-red key.
std::vector<FigurePixel> FigureOf(const BitmapView& picture) {
  std::vector<FigurePixel> figure;
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      const Pixel p = PicturePixel(picture, x, y);
      if (p != PixelRgb(255, 0, 0)) figure.push_back({x, y, p});
    }
  }
  return figure;
}

// Whether the figure stands with its top-left corner at (x, y) in the shot by the rule of `find`,
// judged on every `step`-th figure pixel.
bool Stands(const Shot& shot, const std::vector<FigurePixel>& figure, int32_t x, int32_t y,
            int tolerance, size_t step) {
  const size_t samples = (figure.size() + step - 1) / step;
  size_t considered = 0, visible = 0, matching = 0;
  for (size_t i = 0; i < figure.size(); i += step) {
    const FigurePixel& f = figure[i];
    ++considered;
    const int32_t sx = x + f.x, sy = y + f.y;
    if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
    ++visible;
    if (Near(shot.At(sx, sy), f.colour, tolerance)) {
      ++matching;
    } else if (visible - matching > samples / 10) {
      return false;  // more than a tenth wrong already
    }
  }
  return visible * 2 >= considered && matching * 10 >= visible * 9;
}

// Whether every figure pixel stands exactly at (x, y) + its place; the caller keeps it inside.
bool StandsWhole(const Shot& shot, const std::vector<FigurePixel>& figure, int32_t x, int32_t y) {
  return std::all_of(figure.begin(), figure.end(),
                     [&](const FigurePixel& f) { return shot.At(x + f.x, y + f.y) == f.colour; });
}

// The pictures of a comma-separated list of numbers, e.g. "105,120,121".
bool ParseIds(const char* list, std::vector<uint16_t>& ids) {
  for (const char* p = list; *p != '\0';) {
    char* end = nullptr;
    const long id = std::strtol(p, &end, 10);
    if (end == p || id <= 0 || id > 0xFFFF || (*end != ',' && *end != '\0')) return false;
    ids.push_back(static_cast<uint16_t>(id));
    p = *end == ',' ? end + 1 : end;
  }
  return !ids.empty();
}

int Find(const Shot& shot, const std::vector<uint16_t>& ids, bool whole, int tolerance) {
  int found = 0;
  for (const uint16_t id : ids) {
    BitmapView picture;
    if (!GamePicture(id, picture)) return 2;
    const std::vector<FigurePixel> figure = FigureOf(picture);
    if (figure.empty()) continue;
    const size_t sparse = figure.size() / 48 + 1;  // a quick look at about 48 pixels first
    // Every place where the whole picture, or for `find` at least half the figure, is inside.
    const int32_t firstY = whole ? 0 : -picture.height + 1;
    const int32_t firstX = whole ? 0 : -picture.width + 1;
    const int32_t endY = whole ? shot.height - picture.height + 1 : shot.height;
    const int32_t endX = whole ? shot.width - picture.width + 1 : shot.width;
    for (int32_t y = firstY; y < endY; ++y) {
      for (int32_t x = firstX; x < endX; ++x) {
        const bool stands = whole ? StandsWhole(shot, figure, x, y)
                                  : Stands(shot, figure, x, y, tolerance, sparse) &&
                                        Stands(shot, figure, x, y, tolerance, 1);
        if (stands) {
          std::printf("%u %d %d\n", id, x, y);
          ++found;
        }
      }
    }
  }
  return found > 0 ? 0 : 1;
}

// ---- The score label, the sky, boxes and frames ------------------------------------------------

// The score label as the player reads it: "Your Point  :" and the score in ten places, white on
// the label box, centred on x = 400 with its top at y = 10.
bool LabelReads(const Shot& shot, const char* text, int tolerance) {
  const int32_t length = static_cast<int32_t>(std::strlen(text));
  const int32_t left = 400 - length * kGlyphWidth / 2;
  for (int32_t r = 0; r < kGlyphHeight; ++r) {
    for (int32_t i = 0; i < length; ++i) {
      const uint8_t bits = GlyphRow(static_cast<unsigned char>(text[i]), r);
      for (int32_t c = 0; c < kGlyphWidth; ++c) {
        const bool ink = bits & (0x80 >> c);
        if (!Near(shot.At(left + i * kGlyphWidth + c, 10 + r), ink ? kLabelInk : kLabelBox,
                  tolerance)) {
          return false;
        }
      }
    }
  }
  return true;
}

int Score(const Shot& shot, int tolerance) {
  if (shot.width < kFrameWidth || shot.height < 30) return 1;
  for (int score = 0; score <= 100000; score += 10) {
    char text[64];
    std::snprintf(text, sizeof text, "Your Point  : %10d", score);
    if (LabelReads(shot, text, tolerance)) {
      std::printf("%d\n", score);
      return 0;
    }
  }
  return 1;
}

int Count(const Shot& shot, Pixel colour, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
          int tolerance) {
  if (x0 < 0 || y0 < 0 || x1 > shot.width || y1 > shot.height) return 2;
  int matching = 0, total = 0;
  for (int32_t y = y0; y < y1; ++y) {
    for (int32_t x = x0; x < x1; ++x, ++total)
      matching += Near(shot.At(x, y), colour, tolerance);
  }
  std::printf("%d of %d\n", matching, total);
  return matching > 0 ? 0 : 1;
}

int Background(const Shot& shot, int32_t first, int32_t last) {
  BitmapView sky;
  if (!GamePicture(IDB_BACKGROUND, sky) || sky.width != kFrameWidth) return 2;
  first = std::max(first, 0);
  last = std::min({last, shot.height - 1, sky.height - 1});
  const int32_t width = std::min(shot.width, kFrameWidth);
  if (first > last || width <= 0) return 2;
  const auto differing = [&](int32_t s, int32_t fromRow, long enough) {
    long count = 0;
    for (int32_t y = fromRow; y <= last; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const int32_t column = ((x - s) % kFrameWidth + kFrameWidth) % kFrameWidth;
        count += shot.At(x, y) != PicturePixel(sky, column, y);
      }
      if (count > enough) break;  // worse than the best so far: no need to count on
    }
    return count;
  };
  // A first guess from the last row alone, then every offset over all the rows, each given up as
  // soon as it differs more than the best: the right one differs in few pixels, so this is quick.
  int32_t bestOffset = 0;
  long fewest = differing(0, last, LONG_MAX);
  for (int32_t s = -1; s > -kFrameWidth; --s) {
    const long count = differing(s, last, fewest);
    if (count < fewest) {
      fewest = count;
      bestOffset = s;
    }
  }
  fewest = differing(bestOffset, first, LONG_MAX);
  for (int32_t s = 0; s > -kFrameWidth; --s) {
    if (s == bestOffset) continue;
    const long count = differing(s, first, fewest);
    if (count < fewest) {
      fewest = count;
      bestOffset = s;
    }
  }
  const long total = long{last - first + 1} * width;
  std::printf("%d %ld %ld\n", bestOffset, total - fewest, total);
  return 0;
}

int Region(const Shot& shot, const std::string& framePath, int32_t left, int32_t top, int32_t right,
           int32_t bottom) {
  std::ifstream file(framePath, std::ios::binary);
  std::vector<Pixel> frame(size_t{kFrameWidth} * kFrameHeight);
  file.read(reinterpret_cast<char*>(frame.data()),
            static_cast<std::streamsize>(frame.size() * sizeof(Pixel)));
  if (file.gcount() != static_cast<std::streamsize>(frame.size() * sizeof(Pixel))) {
    std::fprintf(stderr, "shot_probe: %s is not a whole frame\n", framePath.c_str());
    return 2;
  }
  long differing = 0, total = 0;
  for (int32_t y = std::max(top, 0); y < std::min({bottom, shot.height, kFrameHeight}); ++y) {
    for (int32_t x = std::max(left, 0); x < std::min({right, shot.width, kFrameWidth});
         ++x, ++total)
      differing += shot.At(x, y) != frame[static_cast<size_t>(y) * kFrameWidth + x];
  }
  std::printf("%ld %ld\n", differing, total);
  return 0;
}

// ---- Sound -------------------------------------------------------------------------------------

// Counts the places where the cue's first 4096 sample bytes after its leading silence stand,
// sample-frame aligned, in the audio output.
int Hears(const char* path, long cue) {
  const auto samples =
      CueSamples(LookUpResource(kGameResources, static_cast<uint16_t>(cue), ResourceKind::Wave));
  if (samples.empty()) {
    std::fprintf(stderr, "shot_probe: no cue %ld\n", cue);
    return 2;
  }
  constexpr size_t kFrame = 4, kOpening = 4096;
  size_t start = 0;
  while (start + kFrame <= samples.size() &&
         std::memcmp(samples.data() + start, "\0\0\0\0", kFrame) == 0)
    start += kFrame;
  if (samples.size() - start < kOpening) return 2;
  const std::vector<unsigned char> output = ReadFile(path);
  int heard = 0;
  for (size_t at = 0; at + kOpening <= output.size(); at += kFrame) {
    if (std::memcmp(output.data() + at, samples.data() + start, kOpening) == 0) ++heard;
  }
  std::printf("%d\n", heard);
  return heard > 0 ? 0 : 1;
}

int Usage() {
  std::fprintf(stderr,
               "usage: shot_probe find SHOT IDS [TOLERANCE] | whole SHOT IDS |\n"
               "       size SHOT | score SHOT [TOLERANCE] | colour SHOT X Y |\n"
               "       count SHOT R G B X0 Y0 X1 Y1 [TOLERANCE] |\n"
               "       background SHOT FIRST_ROW LAST_ROW |\n"
               "       region SHOT FRAME LEFT TOP RIGHT BOTTOM | hears AUDIO.raw CUE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "hears") return argc == 4 ? Hears(argv[2], std::atol(argv[3])) : Usage();
  Shot shot;
  if (!ReadShot(argv[2], shot)) return 2;
  const auto number = [&](int i) { return static_cast<int32_t>(std::atoi(argv[i])); };
  std::vector<uint16_t> ids;
  if (command == "find" && (argc == 4 || argc == 5) && ParseIds(argv[3], ids))
    return Find(shot, ids, false, argc == 5 ? number(4) : 0);
  if (command == "whole" && argc == 4 && ParseIds(argv[3], ids)) return Find(shot, ids, true, 0);
  if (command == "size" && argc == 3) {
    std::printf("%d %d\n", shot.width, shot.height);
    return 0;
  }
  if (command == "score" && (argc == 3 || argc == 4)) return Score(shot, argc == 4 ? number(3) : 0);
  if (command == "colour" && argc == 5) {
    const int32_t x = number(3), y = number(4);
    if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) return 2;
    const Pixel p = shot.At(x, y);
    std::printf("%u %u %u\n", p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    return 0;
  }
  if (command == "count" && (argc == 10 || argc == 11)) {
    const Pixel colour = PixelRgb(static_cast<uint8_t>(number(3)), static_cast<uint8_t>(number(4)),
                                  static_cast<uint8_t>(number(5)));
    return Count(shot, colour, number(6), number(7), number(8), number(9),
                 argc == 11 ? number(10) : 0);
  }
  if (command == "background" && argc == 5) return Background(shot, number(3), number(4));
  if (command == "region" && argc == 8)
    return Region(shot, argv[3], number(4), number(5), number(6), number(7));
  return Usage();
}
