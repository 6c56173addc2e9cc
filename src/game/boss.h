// The boss encounter: summoned at exactly 300 points, it holds, slides in, wanders and rages.
#pragma once

#include "game/platform.h"
#include "game/world.h"

// Last in every frame: at exactly 300 points, summons the boss and starts its timed events.
void CheckBossTrigger(GameWorld& world);

// In every frame while the boss is on stage: draws it and its hit points, then moves it.
void UpdateBoss(GameWorld& world, FrameCanvas& canvas);
