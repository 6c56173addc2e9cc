// The native side of the browser page's pixel check: each cross-check scene drawn by the software
// canvas as the Linux program's paint draws it, written as NAME.rgba (800 x 600, the bytes R, G,
// B, 255 a pixel, rows top-down: what the browser's getImageData gives), plus score-10.rgba, the
// first frame with ten points, whose score label the browser test looks for in the live game.
//
// Usage: quarvelingdrome_web_scene_frames OUTPUT_DIRECTORY
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "crosscheck/scenes.h"
#include "shell/pump/game_loop.h"

namespace {

bool WriteFrame(const std::string& path, const BackBuffer& frame) {
  std::vector<unsigned char> bytes;
  bytes.reserve(frame.size() * 4);
  for (const Pixel p : frame) {
    bytes.push_back(static_cast<unsigned char>(p >> 16));
    bytes.push_back(static_cast<unsigned char>(p >> 8));
    bytes.push_back(static_cast<unsigned char>(p));
    bytes.push_back(255);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

// One paint of the world by the game loop's paint.
void Paint(GameWorld& world, BackBuffer& frame) {
  GameLoop loop;
  loop.world = &world;
  loop.resources = kGameResources;
  PaintGameFrame(loop, frame);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  auto frame = std::make_unique<BackBuffer>();
  for (const Scene& scene : CrossCheckScenes()) {
    auto world = std::make_unique<GameWorld>();
    BuildScene(scene, *world);
    Paint(*world, *frame);
    if (!WriteFrame(dir + "/" + scene.name + ".rgba", *frame)) return 1;
  }
  auto world = std::make_unique<GameWorld>();
  BuildScene(CrossCheckScenes()[0], *world);
  world->score = 10;
  Paint(*world, *frame);
  return WriteFrame(dir + "/score-10.rgba", *frame) ? 0 : 1;
}
