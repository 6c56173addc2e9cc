// The GDI side of the canvas cross-check, run under Wine: draws every scene with the GDI frame
// canvas and writes each frame and its label boxes to files.
//
// The window's paint device context is stood in for by a memory device context holding an
// 800 x 600 32-bit top-down DIB section, so that Present copies the finished frame where this
// program can read it. Pictures come from this program's own resources, as in the game.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "crosscheck/scenes.h"
#include "game/frame.h"
#include "shell/win32/gdi_canvas.h"
#include "shell/win32/win32_shell.h"

namespace {

bool WriteFile(const std::string& path, const void* bytes, size_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

// The box TextOutA fills for a label with TA_CENTER | TA_TOP in the default font.
RECT LabelBox(HDC dc, const SceneLabel& label) {
  SIZE extent{};
  GetTextExtentPoint32A(dc, label.text.c_str(), static_cast<int>(label.text.size()), &extent);
  const LONG left = label.x - extent.cx / 2;
  return {left, label.y, left + extent.cx, label.y + extent.cy};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  appInstance = GetModuleHandleA(nullptr);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSceneWidth;
  info.bmiHeader.biHeight = -kSceneHeight;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (windowDc == nullptr || target == nullptr || bits == nullptr) {
    std::fprintf(stderr, "cannot make the stand-in window surface\n");
    return 1;
  }
  HGDIOBJ replaced = SelectObject(windowDc, target);
  const size_t frameBytes = size_t{kSceneWidth} * kSceneHeight * 4;

  int failures = 0;
  for (const Scene& scene : CrossCheckScenes()) {
    auto world = std::make_unique<GameWorld>();
    BuildScene(scene, *world);

    std::memset(bits, 0, frameBytes);
    FrameCanvas canvas;
    OpenFrameCanvas(canvas, windowDc);
    RunFrame(*world, canvas);
    const std::vector<SceneLabel> labels = SceneLabels(*world);
    Present(canvas);
    std::string boxes;
    for (const SceneLabel& label : labels) {
      const RECT box = LabelBox(canvas.backDc, label);  // the canvas's own default font
      boxes += std::to_string(box.left) + " " + std::to_string(box.top) + " " +
               std::to_string(box.right) + " " + std::to_string(box.bottom) + "\n";
    }
    ReleaseFrameCanvas(canvas);
    GdiFlush();

    // A DIB section's 32-bit pixels are blue, green, red, unused: 0x00RRGGBB once the top byte
    // is cleared.
    auto* pixels = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < size_t{kSceneWidth} * kSceneHeight; ++i)
      pixels[i] &= 0xFFFFFF;
    if (!WriteFile(FramePath(dir, scene, "gdi"), bits, frameBytes) ||
        !WriteFile(LabelBoxPath(dir, scene, "gdi"), boxes.data(), boxes.size())) {
      std::fprintf(stderr, "cannot write the frame of %s to %s\n", scene.name, dir.c_str());
      ++failures;
    }
  }
  SelectObject(windowDc, replaced);
  DeleteObject(target);
  DeleteDC(windowDc);
  return failures == 0 ? 0 : 1;
}
