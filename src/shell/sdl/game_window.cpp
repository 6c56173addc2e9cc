// The game window's events on SDL2: keys, window events, waits and the copy to the window.
//
// One thread does everything, as the Windows message loop does: input events first, then the
// game loop's step (shell/pump/game_loop.h: a pending paint, else a due tick), else a wait for the
// next event or the next due tick. There are no SDL timers: the pump says when each tick is due,
// and SDL_WaitEventTimeout sleeps until then.
#include <climits>

#include "game/world.h"
#include "shell/pump/game_loop.h"
#include "shell/sdl/sdl_shell.h"
#include "shell/soft/soft_canvas.h"

namespace {

// The one world of the program, alive until the process ends; the event threads hold it too.
GameWorld gameWorld;

// Where each frame is composed before it goes to the window.
BackBuffer backBuffer;

// The arrow keys as SDL's keyboard state has them now; updated by the event pumping.
ArrowKeys HeldArrows() {
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  return {keys[SDL_SCANCODE_UP] != 0, keys[SDL_SCANCODE_DOWN] != 0, keys[SDL_SCANCODE_LEFT] != 0,
          keys[SDL_SCANCODE_RIGHT] != 0};
}

// The scene, 800 x 600, at the client origin; the rest of a larger client area black.
void PresentToWindow(const BackBuffer& frame, SDL_Window* window) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);  // anew each frame: a resize replaces it
  if (surface == nullptr) return;
  if (surface->format->format == SDL_PIXELFORMAT_RGB888) {
    // The canvas's own layout, 0x00RRGGBB in 32 bits: one copy.
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    Present(frame, {static_cast<Pixel*>(surface->pixels),
                    surface->pitch / static_cast<int32_t>(sizeof(Pixel)), surface->w, surface->h});
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  } else {
    // Any other window format: SDL converts the frame as it copies it.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<Pixel*>(frame.data()), kSceneWidth, kSceneHeight, 32,
        kSceneWidth * sizeof(Pixel), SDL_PIXELFORMAT_RGB888);
    if (source != nullptr) {
      SDL_BlitSurface(source, nullptr, surface, nullptr);
      SDL_FreeSurface(source);
    }
  }
  const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
  if (surface->w > kSceneWidth) {
    const SDL_Rect right{kSceneWidth, 0, surface->w - kSceneWidth, surface->h};
    SDL_FillRect(surface, &right, black);
  }
  if (surface->h > kSceneHeight) {
    const SDL_Rect below{0, kSceneHeight, SDL_min(surface->w, kSceneWidth),
                         surface->h - kSceneHeight};
    SDL_FillRect(surface, &below, black);
  }
  SDL_UpdateWindowSurface(window);
}

// A minimised window has no client area to paint, so, as on Windows, its repaint requests are
// dropped and its frames stop until it is restored.
void NoteMinimised(GameLoop& loop, SDL_Window* window) {
  loop.minimised = (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0;
}

// One input or window event; false when the game is to end.
bool HandleEvent(const SDL_Event& event, GameLoop& loop, SDL_Window* window) {
  switch (event.type) {
    case SDL_QUIT:  // the window closed, or SIGINT / SIGTERM
      return false;
    case SDL_KEYDOWN:
      if (event.key.keysym.sym == SDLK_SPACE)
        SpaceKeyDown(loop, (event.key.keysym.mod & KMOD_ALT) != 0);
      return true;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          return false;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          NoteMinimised(loop, window);
          RequestLoopRepaint(loop);
          return true;
        default:
          return true;
      }
    default:  // key-ups, text input, the mouse: nothing
      return true;
  }
}

}  // namespace

void RunGameWindow(SDL_Window* window) {
  GameLoop loop;
  OpenGameLoop(loop, gameWorld, kGameResources, MonotonicMs());
  for (;;) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (!HandleEvent(event, loop, window)) return;
    }
    NoteMinimised(loop, window);
    const uint64_t now = MonotonicMs();
    const LoopStep step = StepGameLoop(loop, now, HeldArrows());
    if (step.kind == LoopStepKind::Tick) continue;
    if (step.kind == LoopStepKind::Paint) {
      PaintGameFrame(loop, backBuffer);
      PresentToWindow(backBuffer, window);
      continue;
    }
    const uint64_t wait = step.waitUntil - now;  // at least 1: the pump waits only for later
    const int timeout = wait > INT_MAX ? INT_MAX : static_cast<int>(wait);
    if (SDL_WaitEventTimeout(&event, timeout) && !HandleEvent(event, loop, window)) return;
  }
}
