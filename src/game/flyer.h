// Flyer control: the arrow keys, polled on the 30 ms tick, and the space bar, one bullet a
// key-down.
#pragma once

#include "game/world.h"

// Which arrow keys are held at the moment of a control tick.
struct ArrowKeys {
  bool up = false;
  bool down = false;
  bool left = false;
  bool right = false;
};

// One control tick: moves the flyer one 10-pixel step on each axis a held key asks for, within
// its limits, and shows the climbing or diving picture while Up or Down is held.
void PollControls(GameWorld& world, ArrowKeys keys);

// One space key-down: a bullet in the first free slot, at the flyer's nose; none if all are live.
void FireBullet(GameWorld& world);
