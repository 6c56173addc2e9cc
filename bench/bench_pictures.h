// Pictures for the benchmarks, at the game's real sizes and stored as the game's bitmap resources
// are: a starry night sky and shaded oval figures on a pure-red surround, so that colour-keyed rows
// start and stop at every column as the drawn pictures' do.
#pragma once

#include "support/fixture_pictures.h"

// The background (800 x 600), the flyer (118 x 25), the bullet (11 x 11), the enemy (40 x 47) and
// the calm boss (179 x 198), under their game numbers.
FixtureResources BenchPictures();
