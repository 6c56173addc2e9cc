// The program's instance handle, written once by WinMain (or by a test program's main).
#include "shell/win32/win32_shell.h"

HINSTANCE appInstance = nullptr;
