// Reading a sound resource: a whole RIFF WAVE image, as the game's cues are stored.
//
// Platform-free, so the tests can feed it broken images: it never reads past the bytes it is given.
#pragma once

#include <cstdint>
#include <span>

// The one sample format the cues are made in, and the audio device is opened with: PCM, two
// channels, 44100 samples a second, 16-bit little-endian samples.
constexpr uint32_t kCueRate = 44100;
constexpr uint16_t kCueChannels = 2;
constexpr uint16_t kCueBits = 16;

// The sample bytes of a well-formed image in the cue format; empty for anything else (not RIFF
// WAVE, another format, a chunk that runs past the end, no data chunk).
std::span<const unsigned char> CueSamples(std::span<const unsigned char> image);
