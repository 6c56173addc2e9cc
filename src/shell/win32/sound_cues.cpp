// The platform half of the sound cues: a "WAVE" resource found by number and played from memory
// in the background by PlaySoundA. A new cue cuts off the one playing.
#include "game/platform.h"
#include "shell/win32/win32_shell.h"

// After <windows.h>, which it builds on.
#include <mmsystem.h>

CueWave SysFindCue(CueId cue) {
  HRSRC found = FindResourceA(appInstance, MAKEINTRESOURCEA(cue), "WAVE");
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(appInstance, found);
  if (loaded == nullptr) return {};
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) {
    FreeResource(loaded);
    return {};
  }
  // The bytes belong to the loaded image of the program and stay valid for the whole process,
  // also after FreeResource, so a cue may go on playing from them.
  return {static_cast<const unsigned char*>(bytes), SizeofResource(appInstance, found), loaded};
}

void SysStartCue(const CueWave& wave) {
  PlaySoundA(reinterpret_cast<LPCSTR>(wave.bytes), nullptr, SND_MEMORY | SND_ASYNC);
}

void SysReleaseCue(const CueWave& wave) {
  FreeResource(wave.handle);
}
