// Process-wide values shared inside the library (not exported).
#pragma once
#include <windows.h>

extern HINSTANCE g_hInstance;
extern HWND g_hwndOwner;
