// The busy frame's speed, one program for both builds: natively (the Linux program's software
// canvas) and compiled to WebAssembly (run under Node). scripts/bench-web runs the two and prints
// the ratio.
//
// One frame is what a paint of the game does with the canvas: RunFrame over the busy cross-check
// scene (the background scrolled, the diving flyer, twenty bullets, the enraged boss and its
// label, five enemies and the score), on the software canvas over the embedded pictures. The
// world is rebuilt before each frame, since a frame moves what it draws; the rebuild is timed
// alone and taken off.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "crosscheck/scenes.h"
#include "game/frame.h"
#include "shell/soft/soft_canvas.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 15;  // the best round counts: the least disturbed by other work
constexpr int kFramesARound = 200;

const Scene& BusyScene() {
  for (const Scene& scene : CrossCheckScenes()) {
    if (std::strcmp(scene.name, "busy") == 0) return scene;
  }
  return CrossCheckScenes().back();
}

// Nanoseconds a round of kFramesARound, with or without the frame itself.
double Round(GameWorld& world, BackBuffer& frame, bool paint, uint32_t& sink) {
  const auto start = Clock::now();
  for (int i = 0; i < kFramesARound; ++i) {
    BuildScene(BusyScene(), world);
    if (!paint) continue;
    FrameCanvas canvas;
    OpenFrameCanvas(canvas, kGameResources, frame);
    RunFrame(world, canvas);
    ReleaseFrameCanvas(canvas);
    sink += frame[static_cast<size_t>(i) * 997 % frame.size()];
  }
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kFramesARound;
}

}  // namespace

int main() {
  auto world = std::make_unique<GameWorld>();
  auto frame = std::make_unique<BackBuffer>();
  uint32_t sink = 0;
  std::vector<double> frames, rebuilds;
  for (int round = 0; round < kRounds; ++round) {
    frames.push_back(Round(*world, *frame, true, sink));
    rebuilds.push_back(Round(*world, *frame, false, sink));
  }
  const double best = *std::min_element(frames.begin(), frames.end()) -
                      *std::min_element(rebuilds.begin(), rebuilds.end());
#ifdef __EMSCRIPTEN__
  const char* build = "webassembly";
#else
  const char* build = "native";
#endif
  std::printf("%s busy frame: %.1f us (best of %d rounds of %d frames; check %u)\n", build,
              best / 1000.0, kRounds, kFramesARound, static_cast<unsigned>(sink & 0xFF));
  return 0;
}
