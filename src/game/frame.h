// The frame step and the background scroll.
#pragma once

#include "game/platform.h"
#include "game/world.h"

// One frame: draws the whole scene on the canvas and moves bullets, enemies and the boss one step.
// Called once per repaint, on the user-interface thread.
void RunFrame(GameWorld& world, FrameCanvas& canvas);

// One tick of the 50 ms scroll timer: the background slides one pixel to the left.
void ScrollBackground(GameWorld& world);
