// The interstitial dialog's procedure, which the start and exit flows show.
#pragma once
#include <windows.h>

INT_PTR CALLBACK InterstitialDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
