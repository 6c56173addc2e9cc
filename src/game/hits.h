// Hits and scoring: bullets meet the boss and the enemies, and every hit earns 10 points.
#pragma once

#include "game/world.h"

// Tests every live bullet's tip against the boss (while it is on stage) and the enemies (unless
// the boss is on stage and calm). Called once a frame by RunFrame, after all moves.
void ResolveHits(GameWorld& world);
