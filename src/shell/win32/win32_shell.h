// What the Windows program's files share: the instance handle and the game window's procedure.
#pragma once

#include <windows.h>

// The program's instance handle, stored by WinMain before anything else. Every window class,
// window and resource lookup (pictures, sounds) goes through it.
extern HINSTANCE appInstance;

// The game window's procedure: creation, the two timers, the space bar, repaints, destruction.
LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
