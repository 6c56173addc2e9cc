// Pixel rules for screenshots of the running game, used by the end-to-end scripts. A screenshot
// is the game window's client area as `xwd` writes it (read directly, so a script can take and
// judge shots quickly) or as a binary PPM (P6); the pictures are those the resource script names,
// as the program has them compiled in.
//
//   shot_check background SCRIPT SHOT FIRST_ROW LAST_ROW
//       the scroll offset s (0 .. -799) whose wrapped background best matches rows FIRST_ROW to
//       LAST_ROW of the shot, and how many of their pixels match it: "s matching total"
//   shot_check find SCRIPT SHOT ID...
//       every place where one of the pictures stands whole in the shot, every one of its
//       non-key pixels exactly as drawn: "id x y" a line
//   shot_check region SHOT FRAME LEFT TOP RIGHT BOTTOM
//       how many pixels of the box differ between the shot and a raw 800 x 600 frame
//       (0x00RRGGBB words, as the canvas cross-check writes them): "differing total"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "crosscheck/rc_pictures.h"
#include "shell/soft/bitmap.h"

namespace {

struct Shot {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<Pixel> pixels;
  Pixel At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

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
    std::fprintf(stderr, "%s is not an 8-bit binary PPM\n", path.c_str());
    return false;
  }
  file.get();  // the one whitespace byte before the pixels
  std::vector<unsigned char> rgb(static_cast<size_t>(shot.width) * shot.height * 3);
  file.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  if (file.gcount() != static_cast<std::streamsize>(rgb.size())) {
    std::fprintf(stderr, "%s is cut short\n", path.c_str());
    return false;
  }
  shot.pixels.resize(rgb.size() / 3);
  for (size_t i = 0; i < shot.pixels.size(); ++i)
    shot.pixels[i] = PixelRgb(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
  return true;
}

// An X window dump: a header of big-endian 32-bit fields, the window's name, a colour map, then
// the pixel rows in the server's byte order. Only true-colour dumps of 24 or 32 bits a pixel.
bool ReadXwd(const std::string& path, Shot& shot) {
  std::ifstream file(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), {});
  const auto field = [&](size_t index) -> uint32_t {
    const unsigned char* p = &bytes[index * 4];
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  };
  if (bytes.size() < 100 || field(1) != 7) {
    std::fprintf(stderr, "%s is not an X window dump\n", path.c_str());
    return false;
  }
  const uint32_t headerSize = field(0), width = field(4), height = field(5);
  const uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12);
  const uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16);
  const uint32_t colours = field(19);
  const size_t pixelsAt = size_t{headerSize} + size_t{colours} * 12;
  const uint32_t pixelBytes = bitsPerPixel / 8;
  if (field(2) != 2 || (pixelBytes != 4 && pixelBytes != 3) || width == 0 || height == 0 ||
      width > 16384 || height > 16384 || bytesPerLine < width * pixelBytes ||
      bytes.size() < pixelsAt + size_t{bytesPerLine} * height) {
    std::fprintf(stderr, "%s is not a true-colour window dump this tool reads\n", path.c_str());
    return false;
  }
  const auto channel = [](uint32_t value, uint32_t mask) -> uint32_t {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask >> shift & 1))
      ++shift;
    return (value & mask) >> shift & 0xFF;
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
      shot.pixels[size_t{y} * width + x] = PixelRgb(static_cast<uint8_t>(channel(value, redMask)),
                                                    static_cast<uint8_t>(channel(value, greenMask)),
                                                    static_cast<uint8_t>(channel(value, blueMask)));
    }
  }
  return true;
}

bool ReadShot(const std::string& path, Shot& shot) {
  const bool xwd = path.size() > 4 && path.compare(path.size() - 4, 4, ".xwd") == 0;
  return xwd ? ReadXwd(path, shot) : ReadPpm(path, shot);
}

bool Picture(const FixtureResources& pictures, uint16_t id, BitmapView& view) {
  return ReadBitmap(LookUpResource(pictures.Table(), id, ResourceKind::Bitmap), view);
}

Pixel PicturePixel(const BitmapView& view, int32_t x, int32_t y) {
  const unsigned char* bgr = view.Row(y) + x * 3;
  return PixelRgb(bgr[2], bgr[1], bgr[0]);
}

int Background(const FixtureResources& pictures, const Shot& shot, int32_t first, int32_t last) {
  BitmapView sky;
  if (!Picture(pictures, 104, sky) || sky.width != 800) return 2;
  last = std::min(last, shot.height - 1);
  const int32_t width = std::min(shot.width, 800);
  long bestMatching = -1, total = 0;
  int32_t bestOffset = 0;
  for (int32_t s = 0; s > -800; --s) {
    long matching = 0;
    total = 0;
    for (int32_t y = first; y <= last; ++y) {
      for (int32_t x = 0; x < width; ++x, ++total)
        matching += shot.At(x, y) == PicturePixel(sky, ((x - s) % 800 + 800) % 800, y);
    }
    if (matching > bestMatching) {
      bestMatching = matching;
      bestOffset = s;
    }
  }
  std::printf("%d %ld %ld\n", bestOffset, bestMatching, total);
  return 0;
}

int Find(const FixtureResources& pictures, const Shot& shot, const std::vector<uint16_t>& ids) {
  for (const uint16_t id : ids) {
    BitmapView view;
    if (!Picture(pictures, id, view)) return 2;
    struct Opaque {
      int32_t x, y;
      Pixel colour;
    };
    std::vector<Opaque> opaque;
    for (int32_t y = 0; y < view.height; ++y) {
      for (int32_t x = 0; x < view.width; ++x) {
        const Pixel p = PicturePixel(view, x, y);
        if (p != PixelRgb(255, 0, 0)) opaque.push_back({x, y, p});
      }
    }
    for (int32_t top = 0; top + view.height <= shot.height; ++top) {
      for (int32_t left = 0; left + view.width <= shot.width; ++left) {
        bool whole = !opaque.empty();
        for (const Opaque& o : opaque) {
          if (shot.At(left + o.x, top + o.y) != o.colour) {
            whole = false;
            break;
          }
        }
        if (whole) std::printf("%u %d %d\n", id, left, top);
      }
    }
  }
  return 0;
}

int Region(const Shot& shot, const std::string& framePath, int32_t left, int32_t top, int32_t right,
           int32_t bottom) {
  std::ifstream file(framePath, std::ios::binary);
  std::vector<Pixel> frame(800 * 600);
  file.read(reinterpret_cast<char*>(frame.data()), frame.size() * sizeof(Pixel));
  if (file.gcount() != static_cast<std::streamsize>(frame.size() * sizeof(Pixel))) {
    std::fprintf(stderr, "%s is not a whole frame\n", framePath.c_str());
    return 2;
  }
  long differing = 0, total = 0;
  for (int32_t y = std::max(top, 0); y < std::min({bottom, shot.height, 600}); ++y) {
    for (int32_t x = std::max(left, 0); x < std::min({right, shot.width, 800}); ++x, ++total)
      differing += shot.At(x, y) != frame[static_cast<size_t>(y) * 800 + x];
  }
  std::printf("%ld %ld\n", differing, total);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: shot_check background SCRIPT SHOT FIRST_ROW LAST_ROW\n"
               "       shot_check find SCRIPT SHOT ID...\n"
               "       shot_check region SHOT FRAME LEFT TOP RIGHT BOTTOM\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  Shot shot;
  if (command == "region") {
    if (argc != 8 || !ReadShot(argv[2], shot)) return Usage();
    return Region(shot, argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]),
                  std::atoi(argv[7]));
  }
  if (argc < 5) return Usage();
  FixtureResources pictures;
  if (!LoadScriptPictures(argv[2], pictures) || !ReadShot(argv[3], shot)) return 2;
  if (command == "background" && argc == 6)
    return Background(pictures, shot, std::atoi(argv[4]), std::atoi(argv[5]));
  if (command == "find") {
    std::vector<uint16_t> ids;
    for (int i = 4; i < argc; ++i)
      ids.push_back(static_cast<uint16_t>(std::atoi(argv[i])));
    return Find(pictures, shot, ids);
  }
  return Usage();
}
