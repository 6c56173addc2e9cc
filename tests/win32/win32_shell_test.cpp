// The Windows shell's own promises, under Wine: what the GDI canvas does with a picture it cannot
// load or that lies off the canvas, where Present puts the frame, how sound cues are found by
// number, and that a timed event runs on a thread of its own.
#include "shell/win32/win32_shell.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "game/platform.h"
#include "shell/win32/gdi_canvas.h"

namespace {

constexpr uint16_t kNoPicture = 200;  // a number the program holds no picture for
constexpr uint32_t kMark = 0x00123456;

// A memory device context holding a top-down 32-bit DIB section: the paint device context's
// stand-in, whose pixels the test can read.
class StandInWindow {
 public:
  StandInWindow(int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    replaced_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i)
      static_cast<uint32_t*>(bits_)[i] = kMark;
  }
  ~StandInWindow() {
    SelectObject(dc_, replaced_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  uint32_t At(int x, int y) const {
    GdiFlush();
    return static_cast<const uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF;
  }
  std::vector<uint32_t> Frame() const {
    GdiFlush();
    std::vector<uint32_t> pixels(800 * 600);
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        pixels[y * 800 + x] = At(x, y);
    return pixels;
  }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ replaced_;
  void* bits_ = nullptr;
};

class GdiCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appInstance = GetModuleHandleA(nullptr);
    window = std::make_unique<StandInWindow>(800, 600);
    OpenFrameCanvas(canvas, window->Dc());
    DrawBackground(canvas, -250);
  }
  void TearDown() override { ReleaseFrameCanvas(canvas); }
  std::vector<uint32_t> Shown() {
    Present(canvas);
    return window->Frame();
  }

  std::unique_ptr<StandInWindow> window;
  FrameCanvas canvas;
};

TEST_F(GdiCanvasTest, APictureThatCannotBeLoadedDrawsNothingAndHasNoSize) {
  const std::vector<uint32_t> sky = Shown();
  const SpriteSize size = DrawSprite(canvas, static_cast<SpriteId>(kNoPicture), 10, 10);
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
  OpenSpriteBatch(canvas, static_cast<SpriteId>(kNoPicture));
  DrawSpriteBatch(canvas, 100, 100);
  CloseSpriteBatch(canvas);
  EXPECT_TRUE(Shown() == sky);
}

// Off the canvas nothing shows, but the size is the picture's, as UpdateBoss relies on.
TEST_F(GdiCanvasTest, PicturesOffTheCanvasDrawNothingAndReportTheirSize) {
  const std::vector<uint32_t> sky = Shown();
  struct Case {
    SpriteId sprite;
    int32_t x, y, width, height;
  };
  const Case cases[] = {{IDB_BOSS, 800, 100, 179, 198},
                        {IDB_ENEMY, 100, 600, 40, 47},
                        {IDB_PLAYER, -118, 0, 118, 25},
                        {IDB_EXPLOSION, 0, -40, 39, 40}};
  for (const Case& c : cases) {
    const SpriteSize size = DrawSprite(canvas, c.sprite, c.x, c.y);
    EXPECT_EQ(size.width, c.width) << c.sprite;
    EXPECT_EQ(size.height, c.height) << c.sprite;
  }
  EXPECT_TRUE(Shown() == sky);
}

TEST(GdiPresent, CopiesTheSceneToTheOriginAndLeavesALargerAreaAlone) {
  appInstance = GetModuleHandleA(nullptr);
  StandInWindow window(900, 700);
  FrameCanvas canvas;
  OpenFrameCanvas(canvas, window.Dc());
  DrawBackground(canvas, 0);
  Present(canvas);
  ReleaseFrameCanvas(canvas);
  EXPECT_NE(window.At(0, 0), kMark);
  EXPECT_NE(window.At(799, 599), kMark);
  EXPECT_EQ(window.At(800, 0), kMark);
  EXPECT_EQ(window.At(0, 600), kMark);
  EXPECT_EQ(window.At(899, 699), kMark);
}

// Each sound is a whole RIFF WAVE image found by its number; other numbers find nothing.
TEST(SoundCues, AreFoundByNumberAsWholeWaveImages) {
  appInstance = GetModuleHandleA(nullptr);
  struct Case {
    uint16_t cue;
    size_t dataBytes;  // 0: no such sound
  };
  const Case cases[] = {{IDR_WAVE_EXPLOSION, 162620},
                        {IDR_WAVE_BOSS_HIT, 67584},
                        {IDR_WAVE_BOSS_RAGE, 253952},
                        {115, 0},
                        {IDB_BACKGROUND, 0}};  // a picture, not a "WAVE"
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cue);
    const CueWave wave = SysFindCue(static_cast<CueId>(c.cue));
    if (c.dataBytes == 0) {
      EXPECT_EQ(wave.bytes, nullptr);
      continue;
    }
    ASSERT_NE(wave.bytes, nullptr);
    ASSERT_GE(wave.size, 44u);
    EXPECT_EQ(std::memcmp(wave.bytes, "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(wave.bytes + 8, "WAVE", 4), 0);
    uint32_t dataSize = 0;
    std::memcpy(&dataSize, wave.bytes + 40, 4);  // after the 16-byte format chunk
    EXPECT_EQ(std::memcmp(wave.bytes + 36, "data", 4), 0);
    EXPECT_EQ(dataSize, c.dataBytes);
    EXPECT_EQ(wave.size, 44 + c.dataBytes);
    SysStartCue(wave);  // with or without a sound device, returns at once
    SysReleaseCue(wave);
  }
}

// A timed event runs its routine with the world and the argument on a thread of its own.
TEST(TimedEventThreads, RunTheRoutineWithItsArgumentOnAnotherThread) {
  static std::atomic<DWORD> eventThread{0};
  auto world = std::make_unique<GameWorld>();
  SysStartThread(
      TimedEvent::ActivateBoss,
      [](GameWorld& w, int32_t argument) {
        eventThread = GetCurrentThreadId();
        Store(w.bossActive, argument);
      },
      *world, 4711);
  // Waits for the event, bounded only so that a lost thread fails instead of hanging.
  for (int i = 0; i < 1000 && Load(world->bossActive) != 4711; ++i)
    SysSleep(10);
  EXPECT_EQ(Load(world->bossActive), 4711);
  EXPECT_NE(eventThread.load(), 0u);
  EXPECT_NE(eventThread.load(), GetCurrentThreadId());
}

}  // namespace
