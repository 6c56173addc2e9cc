// resgen: writes the game's ten pictures, three sounds, a contact sheet of the pictures and the
// desktop icons into a folder. Usage: resgen <outdir>. The same bytes come out on every run.
#include "resgen.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace resgen {
namespace {

struct PictureFile {
  int number;
  const char* file;
  Image image;
};

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "resgen: cannot write %s\n", path.c_str());
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) {
    std::fprintf(stderr, "resgen: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%-20s %8zu bytes\n", path.c_str(), bytes.size());
  return true;
}

// ---- The contact sheet ----
// Every picture at its own size and four times enlarged, the sprites also at their own size over
// the sky, with the picture's number above it. Pure red shows as a grey and white checkerboard.

constexpr int kSheetMargin = 16;
constexpr int kSheetGap = 16;
constexpr int kLabelHeight = 26;
constexpr uint8_t kSheetGrey = 52;

// Digits 3 wide and 5 high, one row per three bits.
constexpr uint16_t kDigits[10] = {075557, 026227, 071747, 071717, 055711,
                                  074717, 074757, 071111, 075757, 075717};

void PutPixel(Image& sheet, int x, int y, const uint8_t* rgb) {
  if (x < 0 || y < 0 || x >= sheet.width || y >= sheet.height) return;
  uint8_t* p = PixelAt(sheet, x, y);
  p[0] = rgb[0];
  p[1] = rgb[1];
  p[2] = rgb[2];
}

void DrawNumber(Image& sheet, int number, int x, int y) {
  const std::string text = std::to_string(number);
  constexpr int kScale = 3;
  const uint8_t white[3] = {255, 255, 255};
  for (char ch : text) {
    const uint16_t glyph = kDigits[ch - '0'];
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (!((glyph >> ((4 - row) * 3 + (2 - col))) & 1)) continue;
        for (int dy = 0; dy < kScale; ++dy) {
          for (int dx = 0; dx < kScale; ++dx) {
            PutPixel(sheet, x + col * kScale + dx, y + row * kScale + dy, white);
          }
        }
      }
    }
    x += 4 * kScale;
  }
}

// Copies `picture` enlarged `scale` times with its top-left corner at (x, y). Pure red shows the
// checkerboard, or the sky when `sky` is given (as the game draws a sprite).
void Paste(Image& sheet, const Image& picture, int x, int y, int scale, const Image* sky,
           int src_x = 0, int src_y = 0, int src_w = -1, int src_h = -1) {
  if (src_w < 0) src_w = picture.width;
  if (src_h < 0) src_h = picture.height;
  for (int py = 0; py < src_h * scale; ++py) {
    for (int px = 0; px < src_w * scale; ++px) {
      const uint8_t* p = PixelAt(picture, src_x + px / scale, src_y + py / scale);
      uint8_t shown[3] = {p[0], p[1], p[2]};
      if (p[0] == kKeyR && p[1] == kKeyG && p[2] == kKeyB) {
        if (sky) {
          const uint8_t* s = PixelAt(*sky, (x + px) % sky->width, (300 + py) % sky->height);
          shown[0] = s[0];
          shown[1] = s[1];
          shown[2] = s[2];
        } else {
          const bool light = ((px / 4) + (py / 4)) % 2 == 0;
          shown[0] = shown[1] = shown[2] = light ? 255 : 200;
        }
      }
      PutPixel(sheet, x + px, y + py, shown);
    }
  }
}

Image MakeContactSheet(const std::vector<PictureFile>& pictures) {
  constexpr int kSheetWidth = 2240;
  // First a dry run to find the height, then the drawing pass.
  Image sheet;
  const Image& sky = pictures[0].image;
  for (int pass = 0; pass < 2; ++pass) {
    int x = kSheetMargin;
    int y = kSheetMargin;
    int shelf_height = 0;
    auto place = [&](int width, int height) {
      if (x + width > kSheetWidth - kSheetMargin) {
        x = kSheetMargin;
        y += shelf_height + kSheetGap;
        shelf_height = 0;
      }
      const int left = x;
      x += width + kSheetGap;
      if (height > shelf_height) shelf_height = height;
      return left;
    };
    for (const PictureFile& picture : pictures) {
      const Image& image = picture.image;
      if (picture.number == 104) {
        // The sky at its own size, and a corner of it enlarged.
        int left = place(image.width, kLabelHeight + image.height);
        if (pass == 1) {
          DrawNumber(sheet, picture.number, left, y);
          Paste(sheet, image, left, y + kLabelHeight, 1, nullptr);
        }
        left = place(800, kLabelHeight + 600);
        if (pass == 1) {
          DrawNumber(sheet, picture.number, left, y);
          Paste(sheet, image, left, y + kLabelHeight, 4, nullptr, 0, 0, 200, 150);
        }
        continue;
      }
      if (picture.number == 111) x = kSheetWidth;  // the three bosses share a shelf of their own
      const int width = std::max(image.width * 4, image.width * 2 + kSheetGap);
      const int height = kLabelHeight + image.height + kSheetGap + image.height * 4;
      const int left = place(width, height);
      if (pass == 1) {
        DrawNumber(sheet, picture.number, left, y);
        Paste(sheet, image, left, y + kLabelHeight, 1, nullptr);
        Paste(sheet, image, left + image.width + kSheetGap, y + kLabelHeight, 1, &sky);
        Paste(sheet, image, left, y + kLabelHeight + image.height + kSheetGap, 4, nullptr);
      }
    }
    if (pass == 0) {
      sheet = MakeImage(kSheetWidth, y + shelf_height + kSheetMargin, kSheetGrey, kSheetGrey,
                        kSheetGrey + 6);
    }
  }
  return sheet;
}

}  // namespace
}  // namespace resgen

int main(int argc, char** argv) {
  using namespace resgen;
  if (argc != 2) {
    std::fprintf(stderr, "usage: resgen <outdir>\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";

  std::vector<PictureFile> pictures;
  pictures.push_back({104, "background.bmp", DrawBackground()});
  pictures.push_back({105, "player.bmp", DrawFlyer(FlyerPose::Level)});
  pictures.push_back({120, "player_up.bmp", DrawFlyer(FlyerPose::Climbing)});
  pictures.push_back({121, "player_down.bmp", DrawFlyer(FlyerPose::Diving)});
  pictures.push_back({106, "bullet.bmp", DrawBullet()});
  pictures.push_back({107, "enemy.bmp", DrawEnemy()});
  pictures.push_back({108, "explosion.bmp", DrawExplosion()});
  pictures.push_back({111, "boss.bmp", DrawBoss(BossMood::Calm)});
  pictures.push_back({112, "boss_hit.bmp", DrawBoss(BossMood::Struck)});
  pictures.push_back({113, "boss_rage.bmp", DrawBoss(BossMood::Enraged)});

  bool ok = true;
  for (const PictureFile& picture : pictures) {
    ok = WriteFile(dir + picture.file, EncodeBmp(picture.image)) && ok;
  }
  // Lengths as data bytes over 4 bytes per stereo 16-bit frame.
  ok = WriteFile(dir + "explosion.wav", EncodeWav(MakeExplosionSound(162620 / 4))) && ok;
  ok = WriteFile(dir + "boss_hit.wav", EncodeWav(MakeBossHitSound(67584 / 4))) && ok;
  ok = WriteFile(dir + "boss_rage.wav", EncodeWav(MakeBossRageSound(253952 / 4))) && ok;
  ok = WriteFile(dir + "contact_sheet.png", EncodePng(MakeContactSheet(pictures))) && ok;
  // The desktop icons, at the sizes the installed game provides.
  for (int size : {48, 64, 128, 256}) {
    ok = WriteFile(dir + "icon_" + std::to_string(size) + ".png", EncodePng(MakeIcon(size))) && ok;
  }
  const std::string svg = MakeIconSvg();
  ok = WriteFile(dir + "icon.svg", std::vector<uint8_t>(svg.begin(), svg.end())) && ok;
  return ok ? 0 : 1;
}
