// PlayCue: the rule half of the sound cues; the platform finds and plays the wave.
#include "game/cues.h"

#include "game/platform.h"

void PlayCue(const GameWorld& world, CueId cue) {
  const CueWave wave = SysFindCue(cue);
  if (wave.bytes == nullptr) return;
  if (!Load(world.enraged)) SysStartCue(wave);  // read at this moment: a rage mutes every cue
  SysReleaseCue(wave);
}
