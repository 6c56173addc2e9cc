// The whole game without a window: the message pump's timers and paints on the virtual clock,
// frames on the software canvas, real event threads, and a player given as a script of inputs.
//
// It does what the game window does: creation resets the world, sets the two timers and starts
// the level-flight loop; each controls tick polls the held keys, each scroll tick scrolls, both
// ask for a repaint; each paint runs one frame. Input is taken before paints, as a window's queue
// hands input ahead of them.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "game/flyer.h"
#include "game/world.h"
#include "shell/pump/message_pump.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"

struct HeadlessGame {
  std::unique_ptr<GameWorld> world = std::make_unique<GameWorld>();
  MessagePump pump;
  ResourceTable pictures;
  ArrowKeys held;            // arrow keys as the next controls tick will see them
  uint64_t frameCostMs = 2;  // virtual time a frame takes
  int frames = 0;            // frames run so far
  std::unique_ptr<BackBuffer> frame =
      std::make_unique<BackBuffer>();                    // the last frame, as the window shows it
  std::function<void(const HeadlessGame&)> beforeFrame;  // called before every frame
  std::function<void(const HeadlessGame&)> afterFrame;   // called after every frame
};

// Creates the game window: reset, timers, level-flight loop, and the first paint.
void OpenGameWindow(HeadlessGame& game, ResourceTable pictures);

// Runs the game's message loop for `milliseconds` of virtual time.
void RunGameFor(HeadlessGame& game, uint64_t milliseconds);

// One space key-down, handled at once as the window would.
void PressSpace(HeadlessGame& game);

// Runs the game until `done` holds after a frame, or `limitMs` have passed; true if it held.
bool RunGameUntil(HeadlessGame& game, const std::function<bool(const HeadlessGame&)>& done,
                  uint64_t limitMs);
