#include "support/game_fixture.h"

#include <cstring>

#include "game/frame.h"
#include "shell/soft/label_font.h"

const FixtureResources& FixturePictures() {
  static const FixtureResources* pictures = new FixtureResources(StandardFixturePictures());
  return *pictures;
}

void RenderFrame(GameWorld& world, ResourceTable resources, BackBuffer& frame) {
  FrameCanvas canvas;
  OpenFrameCanvas(canvas, resources, frame);
  RunFrame(world, canvas);
  ReleaseFrameCanvas(canvas);
}

::testing::AssertionResult LabelShows(std::span<const Pixel> frame, const char* text, int32_t x,
                                      int32_t y) {
  const auto length = static_cast<int32_t>(std::strlen(text));
  const int32_t left = x - length * kGlyphWidth / 2;
  for (int32_t r = 0; r < kGlyphHeight; ++r) {
    for (int32_t i = 0; i < length; ++i) {
      for (int32_t c = 0; c < kGlyphWidth; ++c) {
        const int32_t px = left + i * kGlyphWidth + c, py = y + r;
        if (px < 0 || px >= 800 || py < 0 || py >= 600) continue;
        const bool ink = GlyphRow(static_cast<unsigned char>(text[i]), r) & (0x80 >> c);
        const Pixel want = ink ? kLabelInk : kLabelBox;
        if (frame[static_cast<size_t>(py) * 800 + px] != want) {
          return ::testing::AssertionFailure()
                 << "label \"" << text << "\" differs at (" << px << ", " << py << ")";
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

std::string TakeCueLog() {
  std::string log;
  for (const CueRecord& record : TakeCueRecords()) {
    if (!log.empty()) log += ", ";
    switch (record.cue) {
      case IDR_WAVE_EXPLOSION:
        log += "explosion";
        break;
      case IDR_WAVE_BOSS_HIT:
        log += "boss hit";
        break;
      case IDR_WAVE_BOSS_RAGE:
        log += "rage";
        break;
      default:
        log += std::to_string(record.cue);
    }
    if (!record.played) log += " muted";
  }
  return log;
}

namespace {

const char* EventName(TimedEvent event) {
  switch (event) {
    case TimedEvent::RespawnEnemy:
      return "RespawnEnemy";
    case TimedEvent::RestoreBoss:
      return "RestoreBoss";
    case TimedEvent::ActivateBoss:
      return "ActivateBoss";
    case TimedEvent::LevelFlight:
      return "LevelFlight";
    case TimedEvent::RageCycle:
      return "RageCycle";
    case TimedEvent::Wander:
      return "Wander";
  }
  return "an event without a name";
}

}  // namespace

std::string EventNames(const std::vector<TimedEvent>& events) {
  std::string names;
  for (TimedEvent event : events) {
    if (!names.empty()) names += ", ";
    names += EventName(event);
  }
  return names;
}

std::string TakeStartLog() {
  return EventNames(TakeStartedEvents());
}
