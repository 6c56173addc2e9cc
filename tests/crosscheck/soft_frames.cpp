// The native side of the canvas cross-check: draws every scene with the software canvas over the
// game's embedded pictures (made from the same res/game.rc the Windows program compiles in), and
// compares each frame with the GDI canvas's frame of
// the same scene, pixel by pixel, everywhere outside the label boxes of either canvas.
//
// Inside its own boxes each canvas must show nothing but label ink and the label box colour. A
// frame that differs leaves a picture of its differing pixels beside the frames.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "crosscheck/scenes.h"
#include "game/frame.h"
#include "shell/soft/label_font.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"

namespace {

constexpr size_t kFramePixels = size_t{kSceneWidth} * kSceneHeight;

struct Box {
  int32_t left, top, right, bottom;  // right and bottom exclusive
};

using Frame = std::vector<Pixel>;

bool ReadFrame(const std::string& path, Frame& frame) {
  std::ifstream file(path, std::ios::binary);
  frame.assign(kFramePixels, 0);
  file.read(reinterpret_cast<char*>(frame.data()), kFramePixels * sizeof(Pixel));
  return file.gcount() == static_cast<std::streamsize>(kFramePixels * sizeof(Pixel));
}

bool ReadBoxes(const std::string& path, std::vector<Box>& boxes) {
  std::ifstream file(path);
  if (!file) return false;
  Box box;
  while (file >> box.left >> box.top >> box.right >> box.bottom)
    boxes.push_back(box);
  return true;
}

bool WriteBytes(const std::string& path, const void* bytes, size_t size) {
  std::ofstream file(path, std::ios::binary);
  file.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  return static_cast<bool>(file);
}

// The box DrawLabel of the software canvas fills: 8 x 16 pixels a character, centred on x.
Box SoftLabelBox(const SceneLabel& label) {
  const auto width = static_cast<int32_t>(label.text.size()) * kGlyphWidth;
  const int32_t left = label.x - width / 2;
  return {left, label.y, left + width, label.y + kGlyphHeight};
}

bool Inside(const Box& box, int32_t x, int32_t y) {
  return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

// A mix of label ink and box colour, as an anti-aliased font's edges draw them: every channel the
// same share of the way from the box colour to white, give or take rounding.
bool IsInkOnBox(Pixel p, bool antiAliased) {
  if (p == kLabelInk || p == kLabelBox) return true;
  if (!antiAliased) return false;
  const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
  const double share = (r - 42) / 213.0;
  const auto near = [&](int channel, int from) {
    const double expected = from + share * (255 - from);
    return channel >= expected - 4 && channel <= expected + 4;
  };
  return share >= 0 && share <= 1 && near(g, 46) && near(b, 115);
}

// Pixels of the frame inside `box` (and the scene) that are neither ink nor box colour (nor, for
// an anti-aliased font, a mix of the two), and whether any ink shows at all.
int StrayLabelPixels(const Frame& frame, const Box& box, bool antiAliased, bool& anyInk) {
  int stray = 0;
  for (int32_t y = std::max(box.top, 0); y < std::min(box.bottom, kSceneHeight); ++y) {
    for (int32_t x = std::max(box.left, 0); x < std::min(box.right, kSceneWidth); ++x) {
      const Pixel p = frame[static_cast<size_t>(y) * kSceneWidth + x];
      anyInk |= p == kLabelInk;
      stray += !IsInkOnBox(p, antiAliased);
    }
  }
  return stray;
}

void WriteDifferencePicture(const std::string& path, const Frame& a, const Frame& b,
                            const std::vector<Box>& mask) {
  std::string ppm = "P6\n800 600\n255\n";
  for (int32_t y = 0; y < kSceneHeight; ++y) {
    for (int32_t x = 0; x < kSceneWidth; ++x) {
      const size_t i = static_cast<size_t>(y) * kSceneWidth + x;
      const bool masked =
          std::any_of(mask.begin(), mask.end(), [&](const Box& box) { return Inside(box, x, y); });
      const char grey = static_cast<char>((a[i] >> 8 & 0xFF) / 4);
      const bool differs = !masked && a[i] != b[i];
      ppm += differs ? '\xFF' : grey;
      ppm += differs ? '\0' : grey;
      ppm += masked ? '\x60' : grey;
    }
  }
  WriteBytes(path, ppm.data(), ppm.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FRAME_DIR\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];

  int failedScenes = 0;
  long totalDiffering = 0;
  for (const Scene& scene : CrossCheckScenes()) {
    auto world = std::make_unique<GameWorld>();
    BuildScene(scene, *world);
    FrameCanvas canvas;
    auto backBuffer = std::make_unique<BackBuffer>();
    OpenFrameCanvas(canvas, kGameResources, *backBuffer);
    RunFrame(*world, canvas);
    const std::vector<SceneLabel> labels = SceneLabels(*world);
    const Frame soft(canvas.pixels, canvas.pixels + kFramePixels);
    ReleaseFrameCanvas(canvas);
    WriteBytes(FramePath(dir, scene, "soft"), soft.data(), kFramePixels * sizeof(Pixel));

    Frame gdi;
    std::vector<Box> gdiBoxes;
    if (!ReadFrame(FramePath(dir, scene, "gdi"), gdi) ||
        !ReadBoxes(LabelBoxPath(dir, scene, "gdi"), gdiBoxes) || gdiBoxes.size() != labels.size()) {
      std::printf("%-20s no GDI frame or label boxes in %s\n", scene.name, dir.c_str());
      ++failedScenes;
      continue;
    }
    std::vector<Box> softBoxes;
    for (const SceneLabel& label : labels)
      softBoxes.push_back(SoftLabelBox(label));

    // Each canvas's boxes hold only label ink and box colour, and the text shows.
    int stray = 0;
    bool inkEverywhere = true;
    for (size_t i = 0; i < labels.size(); ++i) {
      bool gdiInk = false, softInk = false;
      stray += StrayLabelPixels(gdi, gdiBoxes[i], true, gdiInk);  // Wine smooths the system font
      stray += StrayLabelPixels(soft, softBoxes[i], false, softInk);
      const bool onScene = gdiBoxes[i].bottom > 0 && gdiBoxes[i].top < kSceneHeight &&
                           gdiBoxes[i].right > 0 && gdiBoxes[i].left < kSceneWidth;
      if (onScene) inkEverywhere &= gdiInk && softInk;
    }

    std::vector<Box> mask = gdiBoxes;
    mask.insert(mask.end(), softBoxes.begin(), softBoxes.end());
    long differing = 0, compared = 0;
    for (int32_t y = 0; y < kSceneHeight; ++y) {
      for (int32_t x = 0; x < kSceneWidth; ++x) {
        if (std::any_of(mask.begin(), mask.end(),
                        [&](const Box& box) { return Inside(box, x, y); })) {
          continue;
        }
        const size_t i = static_cast<size_t>(y) * kSceneWidth + x;
        ++compared;
        differing += gdi[i] != soft[i];
      }
    }
    totalDiffering += differing;
    const bool ok = differing == 0 && stray == 0 && inkEverywhere;
    std::printf("%-20s %ld of %ld pixels differ; stray label pixels %d; labels %s\n", scene.name,
                differing, compared, stray, inkEverywhere ? "inked" : "WITHOUT INK");
    if (!ok) {
      ++failedScenes;
      WriteDifferencePicture(dir + "/" + scene.name + ".difference.ppm", gdi, soft, mask);
    }
  }
  std::printf("%zu scenes, %ld differing pixels in all, %d scenes failed\n",
              CrossCheckScenes().size(), totalDiffering, failedScenes);
  return failedScenes == 0 ? 0 : 1;
}
