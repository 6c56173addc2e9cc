// Looks at what the real program showed and played, for the end-to-end scripts.
//
//   shot_probe find SHOT.ppm IDS [TOLERANCE]   where the pictures IDS (e.g. 105,120,121) stand
//   shot_probe score SHOT.ppm [TOLERANCE]      the score the score label shows
//   shot_probe colour SHOT.ppm X Y             the colour of one pixel, as "R G B"
//   shot_probe count SHOT.ppm R G B X0 Y0 X1 Y1 [TOLERANCE]
//                                              how many pixels of the box [X0, X1) x [Y0, Y1)
//                                              have that colour, as "matching of total"
//   shot_probe hears AUDIO.raw CUE             whether a cue's opening samples are in the output
//
// A picture stands at (x, y) when at least 90% of its figure pixels (all but the pure-red key)
// that fall inside the shot match it within TOLERANCE per channel (0 by default; a 16-bit screen
// needs about 8). The pictures and sounds are the game's own, from the embedded table. The audio
// output is what SDL's disk driver writes: the device's raw 16-bit stereo samples. Exit code 0
// when something was found, 1 when not, 2 on a usage or file error.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/sdl/wave_image.h"
#include "shell/soft/bitmap.h"
#include "shell/soft/label_font.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"

namespace {

struct Shot {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // three bytes a pixel, rows top-down

  const unsigned char* At(int x, int y) const {
    return &rgb[(static_cast<size_t>(y) * width + x) * 3];
  }
};

std::vector<unsigned char> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A binary PPM (P6, maxval 255) as ImageMagick's convert writes it; comments allowed.
bool ReadPpm(const char* path, Shot& shot) {
  const std::vector<unsigned char> bytes = ReadFile(path);
  size_t at = 0;
  auto token = [&]() {
    std::string t;
    while (at < bytes.size()) {
      if (bytes[at] == '#') {
        while (at < bytes.size() && bytes[at] != '\n')
          ++at;
      } else if (std::isspace(bytes[at])) {
        if (!t.empty()) break;
        ++at;
      } else {
        t += static_cast<char>(bytes[at++]);
      }
    }
    return t;
  };
  if (token() != "P6") return false;
  shot.width = std::atoi(token().c_str());
  shot.height = std::atoi(token().c_str());
  if (token() != "255" || shot.width <= 0 || shot.height <= 0) return false;
  ++at;  // the one whitespace byte after maxval
  const size_t size = static_cast<size_t>(shot.width) * shot.height * 3;
  if (bytes.size() < at + size) return false;
  shot.rgb.assign(bytes.begin() + at, bytes.begin() + at + size);
  return true;
}

bool Near(const unsigned char* a, int r, int g, int b, int tolerance) {
  return std::abs(a[0] - r) <= tolerance && std::abs(a[1] - g) <= tolerance &&
         std::abs(a[2] - b) <= tolerance;
}

struct FigurePixel {
  int col, row;
  unsigned char r, g, b;
};

// The picture's figure: every pixel but the pure-red key.
std::vector<FigurePixel> FigureOf(const BitmapView& picture) {
  std::vector<FigurePixel> figure;
  for (int row = 0; row < picture.height; ++row) {
    const unsigned char* bgr = picture.Row(row);
    for (int col = 0; col < picture.width; ++col, bgr += 3) {
      if (bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 255) continue;
      figure.push_back({col, row, bgr[2], bgr[1], bgr[0]});
    }
  }
  return figure;
}

// Whether the figure stands with its top-left corner at (x, y) in the shot, judged on every
// `step`-th figure pixel.
bool Stands(const Shot& shot, const std::vector<FigurePixel>& figure, int x, int y, int tolerance,
            size_t step) {
  const size_t samples = (figure.size() + step - 1) / step;
  size_t considered = 0, visible = 0, matching = 0;
  for (size_t i = 0; i < figure.size(); i += step) {
    const FigurePixel& f = figure[i];
    ++considered;
    const int sx = x + f.col, sy = y + f.row;
    if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
    ++visible;
    if (Near(shot.At(sx, sy), f.r, f.g, f.b, tolerance)) {
      ++matching;
    } else if (visible - matching > samples / 10) {
      return false;  // more than a tenth wrong already
    }
  }
  return visible * 2 >= considered && matching * 10 >= visible * 9;
}

int Find(const Shot& shot, const char* ids, int tolerance) {
  int found = 0;
  for (const char* p = ids; *p != '\0';) {
    char* end = nullptr;
    const long id = std::strtol(p, &end, 10);
    if (end == p) return 2;
    p = *end == ',' ? end + 1 : end;
    BitmapView picture;
    if (!ReadBitmap(LookUpResource(kGameResources, static_cast<uint16_t>(id), ResourceKind::Bitmap),
                    picture)) {
      std::fprintf(stderr, "shot_probe: no picture %ld\n", id);
      return 2;
    }
    const std::vector<FigurePixel> figure = FigureOf(picture);
    const size_t sparse = figure.size() / 48 + 1;  // a quick look at about 48 pixels first
    // Every place where at least half the figure is inside the shot.
    for (int y = -picture.height + 1; y < shot.height; ++y) {
      for (int x = -picture.width + 1; x < shot.width; ++x) {
        if (Stands(shot, figure, x, y, tolerance, sparse) &&
            Stands(shot, figure, x, y, tolerance, 1)) {
          std::printf("%ld %d %d\n", id, x, y);
          ++found;
        }
      }
    }
  }
  return found > 0 ? 0 : 1;
}

// The score label as the player reads it: "Your Point  :" and the score in ten places, white on
// the label box, centred on x = 400 with its top at y = 10.
bool LabelReads(const Shot& shot, const char* text, int tolerance) {
  const int length = static_cast<int>(std::strlen(text));
  const int left = 400 - length * kGlyphWidth / 2;
  for (int r = 0; r < kGlyphHeight; ++r) {
    for (int i = 0; i < length; ++i) {
      const uint8_t bits = GlyphRow(static_cast<unsigned char>(text[i]), r);
      for (int c = 0; c < kGlyphWidth; ++c) {
        const int x = left + i * kGlyphWidth + c, y = 10 + r;
        const bool ink = bits & (0x80 >> c);
        if (!Near(shot.At(x, y), ink ? 255 : 42, ink ? 255 : 46, ink ? 255 : 115, tolerance))
          return false;
      }
    }
  }
  return true;
}

int Score(const Shot& shot, int tolerance) {
  if (shot.width < 800 || shot.height < 30) return 1;
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
               "usage: shot_probe find SHOT.ppm IDS [TOLERANCE] | score SHOT.ppm [TOLERANCE] |\n"
               "       colour SHOT.ppm X Y | count SHOT.ppm R G B X0 Y0 X1 Y1 [TOLERANCE] |\n"
               "       hears AUDIO.raw CUE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "hears") return argc == 4 ? Hears(argv[2], std::atol(argv[3])) : Usage();
  Shot shot;
  if (!ReadPpm(argv[2], shot)) {
    std::fprintf(stderr, "shot_probe: cannot read %s as a binary PPM\n", argv[2]);
    return 2;
  }
  if (command == "find" && (argc == 4 || argc == 5))
    return Find(shot, argv[3], argc == 5 ? std::atoi(argv[4]) : 0);
  if (command == "score" && (argc == 3 || argc == 4))
    return Score(shot, argc == 4 ? std::atoi(argv[3]) : 0);
  if (command == "colour" && argc == 5) {
    const int x = std::atoi(argv[3]), y = std::atoi(argv[4]);
    if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) return 2;
    const unsigned char* p = shot.At(x, y);
    std::printf("%d %d %d\n", p[0], p[1], p[2]);
    return 0;
  }
  if (command == "count" && (argc == 10 || argc == 11)) {
    int v[7];
    for (int i = 0; i < 7; ++i)
      v[i] = std::atoi(argv[3 + i]);
    const int tolerance = argc == 11 ? std::atoi(argv[10]) : 0;
    if (v[3] < 0 || v[4] < 0 || v[5] > shot.width || v[6] > shot.height) return 2;
    int matching = 0, total = 0;
    for (int y = v[4]; y < v[6]; ++y) {
      for (int x = v[3]; x < v[5]; ++x, ++total)
        matching += Near(shot.At(x, y), v[0], v[1], v[2], tolerance);
    }
    std::printf("%d of %d\n", matching, total);
    return matching > 0 ? 0 : 1;
  }
  return Usage();
}
