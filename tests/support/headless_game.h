// The whole game without a window: the game loop that the Linux program and the browser page run
// (shell/pump/game_loop.h), on the virtual clock, with frames on the software canvas, real event
// threads, and a player given as a script of inputs.
//
// Input is taken between steps of the loop, as a window's queue hands input ahead of its paints.
#pragma once

#include <functional>
#include <memory>

#include "game/flyer.h"
#include "game/world.h"
#include "shell/pump/game_loop.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"

struct HeadlessGame {
  std::unique_ptr<GameWorld> world = std::make_unique<GameWorld>();
  GameLoop loop;
  ArrowKeys held;            // arrow keys as the next controls tick will see them
  uint64_t frameCostMs = 2;  // virtual time a frame takes
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
void PressSpace(HeadlessGame& game, bool altHeld = false);

// Runs the game until `done` holds after a frame, or `limitMs` have passed; true if it held.
bool RunGameUntil(HeadlessGame& game, const std::function<bool(const HeadlessGame&)>& done,
                  uint64_t limitMs);
