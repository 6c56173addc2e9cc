// Timed events: the game's delayed and periodic changes, each on a detached thread of its own.
//
// Starting one returns at once; the event sleeps, writes one or two shared fields of the world and
// ends (the three loops never end). A thread that cannot be started means the event does not
// happen. No lock is taken anywhere.
#pragma once

#include "game/world.h"

// 100 ms after an enemy hit: the enemy back at the right edge with its ordinary picture.
void RespawnEnemyLater(GameWorld& world, int32_t slot);

// 300 ms after a damaging boss hit (and five times at the boss trigger): the calm picture back,
// unless the boss is enraged by then.
void RestoreBossLater(GameWorld& world);

// 200 ms after the boss trigger: the boss is on stage.
void ActivateBossLater(GameWorld& world);

// From the game window's creation, every 200 ms: the flyer back to level flight.
void LevelFlightLoop(GameWorld& world);

// From the boss trigger: 5 s calm, then the rage cue and 2 s of rage, over and over.
void RageCycleLoop(GameWorld& world);

// From the boss trigger: after 5 s, a new wander direction every 2 s.
void WanderLoop(GameWorld& world);

// The game's pseudo-random numbers, 0 .. 32767; the same sequence in every run (seed 1).
int32_t NextRandom(GameWorld& world);
