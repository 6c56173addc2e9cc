// The sound cues on Web Audio: one cue at a time, a new one cutting off the one playing.
//
// The browser decodes the embedded RIFF WAVE image itself (decodeAudioData), once a cue, and plays
// the decoded buffer from its start. Browsers let a page make sound only after the player's first
// key press or click: until then, and in a browser without Web Audio, cues are silent and nothing
// is reported. page.js makes the audio context on that first gesture.
#include <emscripten/emscripten.h>

#include "game/platform.h"
#include "shell/soft/resource_table.h"

namespace {

// The cue's bytes stay in the WebAssembly memory for the life of the page: their address names
// the cue in the page's cache of decoded buffers.
EM_JS(void, StartPageCue, (const unsigned char* bytes, size_t size), {
  if (Module.page && Module.page.startCue) Module.page.startCue(bytes, size);
});

}  // namespace

CueWave SysFindCue(CueId cue) {
  const auto bytes = LookUpResource(kGameResources, cue, ResourceKind::Wave);
  return {bytes.data(), bytes.size(), nullptr};
}

void SysStartCue(const CueWave& wave) {
  StartPageCue(wave.bytes, wave.size);
}

void SysReleaseCue(const CueWave&) {}  // the embedded bytes need no release
