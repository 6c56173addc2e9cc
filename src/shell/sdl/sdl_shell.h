// The Linux program's shell on SDL2: what its files share.
#pragma once

#include <SDL.h>

#include <cstdint>

// Milliseconds of the monotonic clock: the pump's time, and the tick count's source.
uint64_t MonotonicMs();

// Opens the one audio device for the cues (44100 Hz, stereo, 16-bit). Without a device the cues
// are silent and the game goes on; nothing is reported. Called once, before the game window.
void OpenSoundCues();

// Stops the cues and closes the device; a cue started afterwards, from any thread, is silent.
// Called once, when the game ends.
void CloseSoundCues();

// Runs the game in `window` until it is closed (or the process is asked to stop): the creation
// steps, then the message pump. Returns when the game is over.
void RunGameWindow(SDL_Window* window);
