// The game's pictures read from the files a resource script names, for native test programs that
// must draw exactly what the Windows program has compiled in.
#pragma once

#include <string>

#include "shell/soft/resource_table.h"
#include "support/fixture_pictures.h"

// Reads every `NUMBER BITMAP "file"` line of the script and the file it names, stored as a
// bitmap resource holds it (without the 14-byte file header). False, with a message on stderr,
// when the script or a picture cannot be read.
bool LoadScriptPictures(const std::string& scriptPath, FixtureResources& pictures);
