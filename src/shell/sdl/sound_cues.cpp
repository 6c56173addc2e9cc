// The sound cues on SDL audio: one device, one cue at a time.
//
// The device's callback plays the current cue from its position and silence after its end.
// Starting a cue swaps the current cue under the device lock, so a new cue cuts the old one at
// the exact sample the callback reached; the caller never waits for the sound. The cue bytes are
// the embedded resources, valid for the life of the process.
#include <cstring>
#include <mutex>

#include "game/platform.h"
#include "shell/sdl/sdl_shell.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/wave_image.h"

namespace {

constexpr Uint16 kDeviceSamples = 1024;  // per callback, about 23 ms

struct PlayingCue {
  const unsigned char* samples = nullptr;
  size_t size = 0;
  size_t position = 0;
};

// Read and written by the callback, and by SysStartCue under SDL_LockAudioDevice.
PlayingCue playing;

// The device, 0 when none is open. The mutex keeps a cue from starting while the device closes;
// cues start on the user-interface thread and on RageCycleLoop's.
std::mutex deviceMutex;
SDL_AudioDeviceID device = 0;

void FillFromCue(void*, Uint8* stream, int length) {
  const size_t wanted = static_cast<size_t>(length);
  const size_t left = playing.size - playing.position;
  const size_t taken = wanted < left ? wanted : left;
  if (taken > 0) std::memcpy(stream, playing.samples + playing.position, taken);
  playing.position += taken;
  std::memset(stream + taken, 0, wanted - taken);  // S16 silence is zero
}

}  // namespace

void OpenSoundCues() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  SDL_AudioSpec want{};
  want.freq = kCueRate;
  want.format = AUDIO_S16LSB;  // the waves' own sample format
  want.channels = kCueChannels;
  want.samples = kDeviceSamples;
  want.callback = FillFromCue;
  // No changes allowed: SDL converts to whatever the hardware takes.
  const SDL_AudioDeviceID opened = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (opened == 0) return;  // no sound device: the game plays in silence
  std::lock_guard lock(deviceMutex);
  device = opened;
  SDL_PauseAudioDevice(device, 0);
}

void CloseSoundCues() {
  std::lock_guard lock(deviceMutex);
  if (device != 0) SDL_CloseAudioDevice(device);
  device = 0;
}

// ---- The platform seam -------------------------------------------------------------------------

CueWave SysFindCue(CueId cue) {
  const auto bytes = LookUpResource(kGameResources, cue, ResourceKind::Wave);
  return {bytes.data(), bytes.size(), nullptr};
}

void SysStartCue(const CueWave& wave) {
  const auto samples = CueSamples({wave.bytes, wave.size});
  if (samples.empty()) return;  // not a cue we can play: silence
  std::lock_guard lock(deviceMutex);
  if (device == 0) return;
  SDL_LockAudioDevice(device);
  playing = {samples.data(), samples.size(), 0};
  SDL_UnlockAudioDevice(device);
}

void SysReleaseCue(const CueWave&) {}  // the embedded bytes need no release
