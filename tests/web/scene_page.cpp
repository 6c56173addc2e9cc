// The test-only scene page: each cross-check scene drawn by the software canvas and shown
// through the page's own copy to its canvas, for the browser test to read back.
#include <emscripten/emscripten.h>

#include <memory>

#include "crosscheck/scenes.h"
#include "game/frame.h"
#include "shell/soft/soft_canvas.h"
#include "shell/web/web_shell.h"

namespace {

BackBuffer backBuffer;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int scene_count() {
  return static_cast<int>(CrossCheckScenes().size());
}

EMSCRIPTEN_KEEPALIVE const char* scene_name(int index) {
  return CrossCheckScenes()[index].name;
}

// One frame of the scene, as the game's paint runs it, on the page's canvas.
EMSCRIPTEN_KEEPALIVE void show_scene(int index) {
  auto world = std::make_unique<GameWorld>();
  BuildScene(CrossCheckScenes()[index], *world);
  FrameCanvas canvas;
  OpenFrameCanvas(canvas, kGameResources, backBuffer);
  RunFrame(*world, canvas);
  ReleaseFrameCanvas(canvas);
  ShowFrame(backBuffer);
}

}  // extern "C"

int main() {
  return 0;
}
