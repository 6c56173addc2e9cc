// The one seam between the game rules and a platform.
//
// The rules call these functions and nothing else of the outside world. Each shell (Windows GDI,
// the software canvas behind SDL, the headless test harness) links its own definitions. The Sys
// prefix marks the platform's services; the canvas operations keep the game's own names.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/world.h"

// ---- Frame canvas -------------------------------------------------------------------------------
// The off-screen 800 x 600 surface of one frame. Each shell defines it; the rules only draw on it.
struct FrameCanvas;

constexpr int kSceneWidth = 800;
constexpr int kSceneHeight = 600;
constexpr size_t kLabelTextSize = 1024;  // bytes, the terminating NUL included

struct SpriteSize {
  int32_t width = 0;
  int32_t height = 0;
};

// Called by RunFrame first in every frame: the background picture over the whole canvas, shifted
// left by -scrollOffset pixels (0 .. -800) and wrapped round.
void DrawBackground(FrameCanvas& canvas, int32_t scrollOffset);

// Called by RunFrame (flyer, enemies) and UpdateBoss: the picture at its own size, top-left corner
// at (x, y), pure red left out, clipped to the canvas. Reports the picture's size even when nothing
// of it is visible; 0 x 0 for a picture that cannot be found.
SpriteSize DrawSprite(FrameCanvas& canvas, SpriteId sprite, int32_t x, int32_t y);

// Called by RunFrame's bullet pass, once a frame: fetch one picture, draw it at several places
// exactly as DrawSprite would, release it. DrawSprite is not called while a batch is open.
void OpenSpriteBatch(FrameCanvas& canvas, SpriteId sprite);
void DrawSpriteBatch(FrameCanvas& canvas, int32_t x, int32_t y);
void CloseSpriteBatch(FrameCanvas& canvas);

// Called by RunFrame and UpdateBoss before DrawLabel: the canvas's one label buffer of
// kLabelTextSize bytes; each label overwrites the one before.
char* LabelText(FrameCanvas& canvas);

// Called by RunFrame (score) and UpdateBoss (hit points): a NUL-terminated text in white on an
// opaque box of RGB(42, 46, 115), centred on x, its top at y.
void DrawLabel(FrameCanvas& canvas, const char* text, int32_t x, int32_t y);

// ---- Sound cues ---------------------------------------------------------------------------------
// A sound resource found by number: the bytes of a whole RIFF WAVE image, valid for the life of the
// process, and whatever the platform needs to release its lookup.
struct CueWave {
  const unsigned char* bytes = nullptr;
  size_t size = 0;
  void* handle = nullptr;
};

// Called by PlayCue, on the user-interface thread or RageCycleLoop's: look the cue up by number;
// bytes is null when there is no such "WAVE" resource.
CueWave SysFindCue(CueId cue);

// Called by PlayCue after it found the cue and the boss is not enraged: start playing in the
// background and return at once; the new cue cuts off any cue still playing.
void SysStartCue(const CueWave& wave);

// Called by PlayCue last, whether it played or not: release the lookup (the bytes stay valid).
void SysReleaseCue(const CueWave& wave);

// ---- Clock and threads --------------------------------------------------------------------------
// Called by ResetWorld and RunFrame: the system's 32-bit millisecond tick count; it wraps past
// zero.
uint32_t SysTickCount();

// Called by the timed events on their own threads: sleep at least this many milliseconds.
void SysSleep(uint32_t milliseconds);

// A timed event's body; runs on a thread of its own with the world and its argument.
using EventRoutine = void (*)(GameWorld& world, int32_t argument);

// The six timed events by name, so that a platform, a log or a test can tell one from another.
enum class TimedEvent : uint8_t {
  RespawnEnemy,  // 100 ms after an enemy hit
  RestoreBoss,   // 300 ms after a damaging boss hit
  ActivateBoss,  // 200 ms after the boss trigger
  LevelFlight,   // every 200 ms from the game window's creation
  RageCycle,     // from the boss trigger: 5 s calm, 2 s rage, over and over
  Wander,        // from the boss trigger: a new direction every 2 s after 5 s
};

// Called by the rules to start a timed event: run routine(world, argument) on a new, detached
// thread and return at once. `event` names it; the routine alone says what it does. A thread that
// cannot be started means the event does not happen: nothing is reported and nothing escapes to
// the caller.
void SysStartThread(TimedEvent event, EventRoutine routine, GameWorld& world, int32_t argument);
