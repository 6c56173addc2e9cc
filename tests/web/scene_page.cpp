// The test-only scene page: each cross-check scene drawn by the software canvas and shown
// through the page's own copy to its canvas, for the browser test to read back.
#include <emscripten/emscripten.h>

#include <memory>

#include "crosscheck/scenes.h"
#include "shell/pump/game_loop.h"
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

// One frame of the scene, painted by the game loop's paint, on the page's canvas.
EMSCRIPTEN_KEEPALIVE void show_scene(int index) {
  auto world = std::make_unique<GameWorld>();
  BuildScene(CrossCheckScenes()[index], *world);
  GameLoop loop;
  loop.world = world.get();
  loop.resources = kGameResources;
  PaintGameFrame(loop, backBuffer);
  ShowFrame(backBuffer);
}

}  // extern "C"

int main() {
  return 0;
}
