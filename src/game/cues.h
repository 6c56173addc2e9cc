// Sound cues: played by number in the background, and not at all while the boss is enraged.
#pragma once

#include "game/world.h"

// Looks the cue up and starts it, cutting off any cue still playing; returns at once. Silent while
// `enraged` is set, and silent for a number the program holds no sound for.
void PlayCue(const GameWorld& world, CueId cue);
