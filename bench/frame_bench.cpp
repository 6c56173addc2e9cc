// A busy frame composed two ways from the same bitmap resources: on the software frame canvas, as
// the game does it, and with SDL's surface blitter. Before timing anything, the two frames are
// compared pixel by pixel, so both sides are known to do the same work. After the run the ratio of
// the per-frame times is printed.
//
// The frame: the background at a scroll offset that needs both wrapped pieces, the flyer, twenty
// bullets through a sprite batch, the boss and its hit-points label, five enemies (two clipped at
// the edges) and the score label, in the game's layering order.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "shell/soft/bitmap.h"
#include "shell/soft/label_font.h"
#include "shell/soft/resource_table.h"
#include "shell/soft/soft_canvas.h"

namespace {

// ---- The frame ----------------------------------------------------------------------------------

struct Place {
  int32_t x, y;  // top-left corner
};

constexpr int32_t kScroll = -123;  // both pieces of the wrapped background are drawn
constexpr Place kFlyer{40, 288};
constexpr Place kBullets[20] = {{200, 283}, {260, 283}, {320, 283}, {380, 283}, {440, 283},
                                {230, 110}, {330, 110}, {430, 110}, {530, 110}, {630, 110},
                                {170, 420}, {290, 420}, {410, 420}, {530, 420}, {650, 420},
                                {120, 560}, {360, 560}, {600, 560}, {720, 330}, {795, 200}};
constexpr Place kBoss{520, 190};
constexpr int32_t kHitPoints = 999999;
constexpr int32_t kBossLabelOffsetX = 90;  // as the boss places its label: centred on x + 90,
constexpr int32_t kBossLabelRise = 20;     // its top 20 pixels above the boss
constexpr Place kEnemies[5] = {{780, 60}, {640, 150}, {455, 250}, {300, 430}, {-25, 520}};
constexpr int32_t kScore = 310;
constexpr Place kScoreLabel{400, 10};  // centre and top

void FormatHitPoints(char* text) {
  std::snprintf(text, kLabelTextSize, "%6d", kHitPoints);
}
void FormatScore(char* text) {
  std::snprintf(text, kLabelTextSize, "%s : %10d", "Your Point ", kScore);
}

// ---- The software canvas ------------------------------------------------------------------------

BackBuffer gBackBuffer;  // the frame's pixels, kept as the Linux program keeps its own

// One frame as the game composes it: the canvas opens, every picture is read from the resource
// table at its draw, and the canvas is released at the end (by the caller, after looking).
void ComposeSoftFrame(FrameCanvas& canvas, ResourceTable pictures, int32_t scroll) {
  OpenFrameCanvas(canvas, pictures, gBackBuffer);
  DrawBackground(canvas, scroll);
  DrawSprite(canvas, IDB_PLAYER, kFlyer.x, kFlyer.y);
  OpenSpriteBatch(canvas, IDB_BULLET);
  for (const Place& bullet : kBullets)
    DrawSpriteBatch(canvas, bullet.x, bullet.y);
  CloseSpriteBatch(canvas);
  DrawSprite(canvas, IDB_BOSS, kBoss.x, kBoss.y);
  FormatHitPoints(LabelText(canvas));
  DrawLabel(canvas, LabelText(canvas), kBoss.x + kBossLabelOffsetX, kBoss.y - kBossLabelRise);
  for (const Place& enemy : kEnemies)
    DrawSprite(canvas, IDB_ENEMY, enemy.x, enemy.y);
  FormatScore(LabelText(canvas));
  DrawLabel(canvas, LabelText(canvas), kScoreLabel.x, kScoreLabel.y);
}

// ---- SDL's blitter ------------------------------------------------------------------------------

// Where the SDL frame takes its pictures from: surfaces made afresh from the resource bytes at each
// draw, as the game's rule of nothing kept between frames asks; or surfaces made once and kept.
struct SdlPictures {
  ResourceTable resources;
  std::map<uint16_t, SDL_Surface*> kept;  // empty: make every surface at its draw
};

// A surface holding the picture as the bitmap resource stores it (24-bit blue-green-red), rows put
// top-down as SDL wants them, and pure red as its colour key unless it is the background. This is
// what SDL_LoadBMP would make of the same picture.
SDL_Surface* SurfaceFromResource(ResourceTable resources, SpriteId id) {
  BitmapView picture;
  if (!ReadBitmap(LookUpResource(resources, id, ResourceKind::Bitmap), picture)) return nullptr;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 24, SDL_PIXELFORMAT_BGR24);
  if (!surface) return nullptr;
  for (int32_t row = 0; row < picture.height; ++row) {
    std::memcpy(static_cast<unsigned char*>(surface->pixels) + row * surface->pitch,
                picture.Row(row), static_cast<size_t>(picture.width) * 3);
  }
  if (id != IDB_BACKGROUND)
    SDL_SetColorKey(surface, SDL_TRUE, SDL_MapRGB(surface->format, 255, 0, 0));
  return surface;
}

SDL_Surface* FetchSurface(const SdlPictures& pictures, SpriteId id) {
  const auto found = pictures.kept.find(id);
  return found != pictures.kept.end() ? found->second : SurfaceFromResource(pictures.resources, id);
}

void DoneWithSurface(const SdlPictures& pictures, SDL_Surface* surface) {
  if (pictures.kept.empty()) SDL_FreeSurface(surface);
}

void BlitSprite(SDL_Surface* target, SDL_Surface* picture, Place at) {
  SDL_Rect where{at.x, at.y, 0, 0};  // SDL_BlitSurface clips, and writes the clipped rectangle back
  SDL_BlitSurface(picture, nullptr, target, &where);
}

void DrawSdlSprite(SDL_Surface* target, const SdlPictures& pictures, SpriteId id, Place at) {
  SDL_Surface* picture = FetchSurface(pictures, id);
  if (!picture) return;
  BlitSprite(target, picture, at);
  DoneWithSurface(pictures, picture);
}

// The label: the box filled with SDL_FillRect, then the ink pixels of the same font put one by
// one, clipped as the canvas clips them.
void DrawSdlLabel(SDL_Surface* target, const char* text, int32_t x, int32_t y) {
  const auto length = static_cast<int32_t>(std::strlen(text));
  const int32_t boxLeft = x - length * kGlyphWidth / 2;
  SDL_Rect box{boxLeft, y, length * kGlyphWidth, kGlyphHeight};
  SDL_FillRect(target, &box, SDL_MapRGB(target->format, 42, 46, 115));
  const Uint32 ink = SDL_MapRGB(target->format, 255, 255, 255);
  for (int32_t r = 0; r < kGlyphHeight; ++r) {
    const int32_t row = y + r;
    if (row < 0 || row >= target->h) continue;
    auto* line = reinterpret_cast<Uint32*>(static_cast<unsigned char*>(target->pixels) +
                                           static_cast<size_t>(row) * target->pitch);
    for (int32_t i = 0; i < length; ++i) {
      const uint8_t bits = GlyphRow(static_cast<unsigned char>(text[i]), r);
      for (int32_t c = 0; c < kGlyphWidth; ++c) {
        const int32_t col = boxLeft + i * kGlyphWidth + c;
        if ((bits & (0x80 >> c)) && col >= 0 && col < target->w) line[col] = ink;
      }
    }
  }
}

void ComposeSdlFrame(SDL_Surface* target, const SdlPictures& pictures, int32_t scroll) {
  if (SDL_Surface* sky = FetchSurface(pictures, IDB_BACKGROUND)) {
    // Picture columns -s..799 to the left of the frame, columns 0..-s-1 to its right.
    SDL_Rect left{-scroll, 0, kSceneWidth + scroll, kSceneHeight}, leftAt{0, 0, 0, 0};
    SDL_Rect right{0, 0, -scroll, kSceneHeight}, rightAt{kSceneWidth + scroll, 0, 0, 0};
    SDL_BlitSurface(sky, &left, target, &leftAt);
    SDL_BlitSurface(sky, &right, target, &rightAt);
    DoneWithSurface(pictures, sky);
  }
  DrawSdlSprite(target, pictures, IDB_PLAYER, kFlyer);
  if (SDL_Surface* bullet = FetchSurface(pictures, IDB_BULLET)) {  // one picture, every bullet
    for (const Place& at : kBullets)
      BlitSprite(target, bullet, at);
    DoneWithSurface(pictures, bullet);
  }
  DrawSdlSprite(target, pictures, IDB_BOSS, kBoss);
  char text[kLabelTextSize];
  FormatHitPoints(text);
  DrawSdlLabel(target, text, kBoss.x + kBossLabelOffsetX, kBoss.y - kBossLabelRise);
  for (const Place& enemy : kEnemies)
    DrawSdlSprite(target, pictures, IDB_ENEMY, enemy);
  FormatScore(text);
  DrawSdlLabel(target, text, kScoreLabel.x, kScoreLabel.y);
}

// ---- What the benchmarks share ------------------------------------------------------------------

constexpr SpriteId kFramePictures[] = {IDB_BACKGROUND, IDB_PLAYER, IDB_BULLET, IDB_ENEMY, IDB_BOSS};

ResourceTable gResources;  // the game's own pictures
FrameCanvas gCanvas;
SDL_Surface* gTarget = nullptr;  // the 800 x 600 frame SDL draws on, like a window surface
SdlPictures gMadePerFrame, gKept24Bit, gKeptInTargetFormat;

SDL_Surface* MakeTarget() {
  return SDL_CreateRGBSurfaceWithFormat(0, kSceneWidth, kSceneHeight, 32, SDL_PIXELFORMAT_RGB888);
}

// Both frames pixel for pixel; says where they first differ.
bool FramesAgree(const SdlPictures& pictures, int32_t scroll, const char* what) {
  ComposeSoftFrame(gCanvas, gResources, scroll);
  ComposeSdlFrame(gTarget, pictures, scroll);
  bool agree = true;
  for (int32_t y = 0; y < kSceneHeight && agree; ++y) {
    const auto* line = reinterpret_cast<const Uint32*>(
        static_cast<unsigned char*>(gTarget->pixels) + static_cast<size_t>(y) * gTarget->pitch);
    for (int32_t x = 0; x < kSceneWidth; ++x) {
      if ((line[x] & 0xFFFFFF) != CanvasPixel(gCanvas, x, y)) {
        std::fprintf(stderr, "%s, scroll %d: pixel (%d, %d) is %06X on the canvas, %06X by SDL\n",
                     what, scroll, x, y, CanvasPixel(gCanvas, x, y), line[x] & 0xFFFFFF);
        agree = false;
        break;
      }
    }
  }
  ReleaseFrameCanvas(gCanvas);
  return agree;
}

bool Prepare() {
  gResources = kGameResources;
  gTarget = MakeTarget();
  if (!gTarget) return false;
  gMadePerFrame.resources = gKept24Bit.resources = gKeptInTargetFormat.resources = gResources;
  for (const SpriteId id : kFramePictures) {
    SDL_Surface* made = SurfaceFromResource(gResources, id);
    if (!made) return false;
    gKept24Bit.kept[id] = made;
    SDL_Surface* converted = SDL_ConvertSurface(made, gTarget->format, 0);
    if (!converted) return false;
    if (id != IDB_BACKGROUND) {
      SDL_SetColorKey(converted, SDL_TRUE, SDL_MapRGB(converted->format, 255, 0, 0));
      SDL_SetSurfaceRLE(converted, 1);
    }
    gKeptInTargetFormat.kept[id] = converted;
  }
  // Every scroll offset against the kept 24-bit surfaces, and a few against the other two ways.
  for (int32_t scroll = 0; scroll >= -kSceneWidth; --scroll) {
    if (!FramesAgree(gKept24Bit, scroll, "24-bit surfaces kept")) return false;
  }
  for (const int32_t scroll : {0, -1, -2, -3, kScroll, -799, -800}) {
    if (!FramesAgree(gMadePerFrame, scroll, "surfaces made per frame") ||
        !FramesAgree(gKeptInTargetFormat, scroll, "surfaces kept in the target's format")) {
      return false;
    }
  }
  return true;
}

// ---- Benchmarks ---------------------------------------------------------------------------------

void BM_SoftCanvasFrame(benchmark::State& state) {
  for (auto _ : state) {
    ComposeSoftFrame(gCanvas, gResources, kScroll);
    benchmark::DoNotOptimize(gCanvas.pixels);
    benchmark::ClobberMemory();
    ReleaseFrameCanvas(gCanvas);
  }
}
BENCHMARK(BM_SoftCanvasFrame)->Unit(benchmark::kMicrosecond);

void SdlFrames(benchmark::State& state, const SdlPictures& pictures) {
  for (auto _ : state) {
    ComposeSdlFrame(gTarget, pictures, kScroll);
    benchmark::DoNotOptimize(gTarget->pixels);
    benchmark::ClobberMemory();
  }
}
void BM_SdlFrameSurfacesMadePerFrame(benchmark::State& state) {
  SdlFrames(state, gMadePerFrame);
}
void BM_SdlFrameKept24Bit(benchmark::State& state) {
  SdlFrames(state, gKept24Bit);
}
void BM_SdlFrameKeptInTargetFormat(benchmark::State& state) {
  SdlFrames(state, gKeptInTargetFormat);
}
BENCHMARK(BM_SdlFrameSurfacesMadePerFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlFrameKept24Bit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlFrameKeptInTargetFormat)->Unit(benchmark::kMicrosecond);

// ---- The ratio ----------------------------------------------------------------------------------

// Seconds per frame: wall-clock time, and the processor time of the benchmark's thread (which
// leaves out the time other work on a shared machine took the processor away).
struct FrameTime {
  double real = 0;
  double cpu = 0;
};

// The console report as usual, keeping each benchmark's time per frame: the median of the
// repetitions where there is one, else the mean of the runs.
class FrameTimeReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, FrameTime> median, sum;
  std::map<std::string, int> count;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string& name = run.run_name.function_name;
      const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
      const FrameTime time{run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit};
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        median[name] = time;
      } else if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        sum[name].real += time.real;
        sum[name].cpu += time.cpu;
        ++count[name];
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The time per frame of a benchmark; 0 when it did not run.
  FrameTime PerFrame(const std::string& name) const {
    if (const auto m = median.find(name); m != median.end()) return m->second;
    const auto s = sum.find(name);
    if (s == sum.end()) return {};
    return {s->second.real / count.at(name), s->second.cpu / count.at(name)};
  }
};

void PrintRatios(const FrameTimeReporter& times) {
  const FrameTime soft = times.PerFrame("BM_SoftCanvasFrame");
  if (soft.real <= 0 || soft.cpu <= 0) return;
  std::printf("\nsoftware canvas frame: %.1f us (processor time %.1f us)\n", soft.real * 1e6,
              soft.cpu * 1e6);
  const struct {
    const char* benchmark;
    const char* what;
  } sdl[] = {
      {"BM_SdlFrameSurfacesMadePerFrame", "surfaces made from the resources each frame"},
      {"BM_SdlFrameKept24Bit", "24-bit surfaces made once and kept"},
      {"BM_SdlFrameKeptInTargetFormat", "surfaces kept in the frame's format, RLE"},
  };
  for (const auto& way : sdl) {
    const FrameTime time = times.PerFrame(way.benchmark);
    if (time.real <= 0 || time.cpu <= 0) continue;
    std::printf("software canvas / SDL blit (%s): %.2fx  (SDL %.1f us; by processor time %.2fx)\n",
                way.what, soft.real / time.real, time.real * 1e6, soft.cpu / time.cpu);
  }
  if (const FrameTime buffer = times.PerFrame("BM_SoftCanvasOpenRelease"); buffer.real > 0) {
    std::printf("per-frame buffer (open + release): %.3f us, %.2f%% of the software frame\n",
                buffer.real * 1e6, 100 * buffer.real / soft.real);
  }
}

void FreeSurfaces() {
  for (SdlPictures* pictures : {&gKept24Bit, &gKeptInTargetFormat}) {
    for (const auto& [id, surface] : pictures->kept)
      SDL_FreeSurface(surface);
    pictures->kept.clear();
  }
  SDL_FreeSurface(gTarget);
  gTarget = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  // Five repetitions and their medians unless told otherwise: steadier on a shared machine.
  std::vector<char*> args{argv[0]};
  std::string repetitions = "--benchmark_repetitions=5",
              aggregates = "--benchmark_report_aggregates_only=true";
  args.push_back(repetitions.data());
  args.push_back(aggregates.data());
  args.insert(args.end(), argv + 1, argv + argc);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  if (!Prepare()) {
    FreeSurfaces();
    std::fprintf(stderr, "the software canvas and SDL do not compose the same frame: %s\n",
                 SDL_GetError());
    return 1;
  }
  std::printf("both ways compose identical frames at every scroll offset\n");
  FrameTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatios(reporter);
  FreeSurfaces();
  benchmark::Shutdown();
  return 0;
}
