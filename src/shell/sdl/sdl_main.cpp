// The Linux program's entry point: SDL, the sound device, the game window, and the exit.
//
// The command line is ignored. Closing the window, or SIGINT / SIGTERM (which SDL turns into a
// quit event), ends the process with code 0 at once; the timed-event threads are not waited for.
// Without a display the program says so in one line and exits with code 1.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/sdl/sdl_shell.h"

namespace {

constexpr const char* kTitle = "quarvelingdrome";
constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;
constexpr const char* kDisplayHint = "(is DISPLAY or WAYLAND_DISPLAY set?)";

[[noreturn]] void CannotOpenWindow(const char* reason) {
  std::fprintf(stderr, "quarvelingdrome: cannot open a window: %s %s\n", reason, kDisplayHint);
  SDL_Quit();
  std::exit(1);
}

// Started with a standard descriptor closed (`quarvelingdrome 2>&-`), the process would hand that
// number to the next file it opens: the X connection could land on descriptor 2, and a library's
// later message on stderr would then go into the X stream and freeze the window. So each of 0, 1
// and 2 that is closed gets /dev/null, before anything else is opened. (open takes the lowest free
// number, and the lower ones are open by then.)
void OpenClosedStandardStreams() {
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0 && null != descriptor) {
      dup2(null, descriptor);
      close(null);
    }
  }
}

// The system libraries behind SDL report on stderr what they could not find while SDL probes
// them: "ALSA lib ... cannot find card '0'" on a machine without sound, "XDG_RUNTIME_DIR is
// invalid" from Wayland's library without a session. None of it is the player's concern (the game
// then plays in silence, or says itself that it has no display), so stderr goes to /dev/null
// while SDL probes. Returns what RestoreStderr needs; only the main thread runs at that time.
int MuteStderr() {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
  if (null >= 0) close(null);
  return saved;
}

void RestoreStderr(int saved) {
  if (saved < 0) return;
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
}

// SDL falls back to a driver that shows nothing when it finds no display; unless the user chose
// that driver, there is no window to play in.
bool IsInvisibleDriver(const char* driver) {
  return driver != nullptr &&
         (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

int main(int, char**) {
  OpenClosedStandardStreams();
  const char* chosenDriver = std::getenv("SDL_VIDEODRIVER");
  const bool userChoseDriver = chosenDriver != nullptr && chosenDriver[0] != '\0';
  int muted = MuteStderr();
  const bool videoUp = SDL_Init(SDL_INIT_VIDEO) == 0;
  RestoreStderr(muted);
  if (!videoUp) CannotOpenWindow(SDL_GetError());
  if (!userChoseDriver && IsInvisibleDriver(SDL_GetCurrentVideoDriver()))
    CannotOpenWindow("no display found");

  // On X11 SDL would present the window surface through an OpenGL texture, which on a machine
  // without a GPU means a software GL rasteriser: tens of megabytes and a good share of a core for
  // a plain copy. The frame is already made in memory, so hand it to X directly (shared memory),
  // as the Windows program's BitBlt does. Other drivers have no direct path and keep the texture;
  // SDL_FRAMEBUFFER_ACCELERATION in the environment still decides over this default.
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");

  muted = MuteStderr();
  OpenSoundCues();
  RestoreStderr(muted);
  SDL_Window* window = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        kClientWidth, kClientHeight, SDL_WINDOW_RESIZABLE);
  if (window == nullptr) CannotOpenWindow(SDL_GetError());
  // Setting up the window's pixel buffer can take a good part of a second on a busy X server; do
  // it before the game's clock starts, so the first frame comes right after the creation steps.
  SDL_GetWindowSurface(window);

  RunGameWindow(window);

  // The sound stops cleanly; then the process ends at once, and the X server closes the window
  // with the connection. The window is not destroyed first: SDL may still send a wake-up message
  // to it over a second connection, which would then name a window already gone, and Xlib's
  // default error handler turns that into exit code 1. The event threads still sleep or write
  // the world; _Exit ends them with the process, without running anything they might touch.
  CloseSoundCues();
  std::fflush(nullptr);
  std::_Exit(0);
}
