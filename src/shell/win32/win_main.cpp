// The entry point and the two top-level windows.
//
// WinMain creates a hidden host window, "Marrowquill". Its creation handler registers, creates and
// shows the game window and runs the game's message loop, so the whole game runs nested inside the
// host window's creation. When the game window is closed, the host window's creation completes,
// the host window is shown for an instant, the outer loop meets the quit request already pending,
// and the process ends with exit code 0. The timed-event threads are not waited for.
#include "shell/win32/win32_shell.h"

namespace {

constexpr const char* kHostClass = "Marrowquill";
constexpr const char* kGameClass = "quarvelingdrome";
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;  // 0x000B
constexpr int kWindowWidth = 800;                                   // outer size, frame included
constexpr int kWindowHeight = 600;
constexpr int kExitCouldNotOpen = 1;  // a window could not be made; the game never ran

void RegisterWindowClass(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.style = kClassStyle;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = appInstance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);
}

// The caption is the class's name; created hidden, at the system's default place.
HWND CreateTopWindow(const char* name) {
  return CreateWindowExA(0, name, name, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         kWindowWidth, kWindowHeight, nullptr, nullptr, appInstance, nullptr);
}

// Serves every window of the thread until a quit message arrives. Only a positive result carries
// a message: GetMessageA gives -1 on an error, which must end the loop rather than spin in it.
void RunMessageLoop(MSG& message) {
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Registers, creates and shows the game window and runs its message loop until the window is
// closed. False when the game window could not be made: then there is no loop to run, since no
// window would ever post the quit request that ends it.
bool RunGameWindow() {
  RegisterWindowClass(kGameClass, GameWindowProc);
  HWND game = CreateTopWindow(kGameClass);  // its WM_CREATE sets the timers
  if (game == nullptr) return false;
  ShowWindow(game, SW_SHOW);
  MSG message{};
  RunMessageLoop(message);  // the quit code taken here is not used
  return true;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // The whole game, then the quit request that the outer loop will meet at once.
      PostQuitMessage(RunGameWindow() ? 0 : kExitCouldNotOpen);
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  appInstance = instance;
  RegisterWindowClass(kHostClass, HostWindowProc);
  HWND host = CreateTopWindow(kHostClass);  // returns after the whole game
  // Without a host window nothing has posted a quit request, and the outer loop would wait for
  // ever with no window open.
  if (host == nullptr) return kExitCouldNotOpen;
  ShowWindow(host, showCommand);  // visible for an instant: the quit request is already pending
  MSG message{};
  RunMessageLoop(message);
  return static_cast<int>(message.wParam);
}
