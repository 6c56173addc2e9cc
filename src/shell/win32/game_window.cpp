// GameWindowProc: where the window's messages meet the game rules.
//
// Creation resets the world, sets the two timers and starts the level-flight loop. Each tick of a
// timer moves the flyer or the background and asks for a repaint without erase; each repaint runs
// one frame on a fresh canvas. Frames are made only by repaints, so the game moves at their pace.
// Every message, handled or not, goes on to DefWindowProcA, and its result is returned.
#include "game/events.h"
#include "game/flyer.h"
#include "game/frame.h"
#include "game/pace.h"
#include "shell/win32/gdi_canvas.h"
#include "shell/win32/win32_shell.h"

namespace {

constexpr UINT_PTR IDT_CONTROLS = 1;
constexpr UINT_PTR IDT_SCROLL = 2;

// The one world of the program, alive for the whole process; the timed events keep writing to it
// after the window is gone.
GameWorld gameWorld;

bool IsHeld(int virtualKey) {
  return GetKeyState(virtualKey) < 0;  // high bit: down as of the messages taken so far
}

ArrowKeys HeldArrows() {
  ArrowKeys keys;
  keys.up = IsHeld(VK_UP);
  keys.down = IsHeld(VK_DOWN);
  keys.left = IsHeld(VK_LEFT);
  keys.right = IsHeld(VK_RIGHT);
  return keys;
}

void RequestRepaint(HWND window) {
  InvalidateRect(window, nullptr, FALSE);  // the whole client area; no erase, so no flicker
}

void PaintFrame(HWND window) {
  PAINTSTRUCT paint;
  HDC windowDc = BeginPaint(window, &paint);
  FrameCanvas canvas;
  OpenFrameCanvas(canvas, windowDc);
  RunFrame(gameWorld, canvas);
  Present(canvas);
  ReleaseFrameCanvas(canvas);
  EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      ResetWorld(gameWorld);
      SetTimer(window, IDT_CONTROLS, kControlsPeriodMs, nullptr);
      SetTimer(window, IDT_SCROLL, kScrollPeriodMs, nullptr);
      LevelFlightLoop(gameWorld);
      break;
    case WM_TIMER:
      if (wParam == IDT_CONTROLS) {
        PollControls(gameWorld, HeldArrows());
        RequestRepaint(window);
      } else if (wParam == IDT_SCROLL) {
        ScrollBackground(gameWorld);
        RequestRepaint(window);
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) FireBullet(gameWorld);  // auto-repeats fire too; no repaint request
      break;
    case WM_PAINT:
      PaintFrame(window);
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
