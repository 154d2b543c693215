// Process-wide values shared inside the library (not exported).
#pragma once
#include <windows.h>

extern HINSTANCE g_hInstance;
extern HWND g_hwndOwner;

// The dialog procedure shown by both flows; defined with the dialog.
INT_PTR CALLBACK InterstitialDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

class CInterstitial;

// Writes [Main] Lumora = "Yes" or "No" from m_bPortalHandled into the profile.
void WritePortalRecord(CInterstitial &game);

// Offers the launch to the portal client; returns the outcome: 0 no verdict, 1 go on,
// 2 the portal takes over. Sets m_bPortalHandled on a verdict.
int RunPortalHandOff(CInterstitial &game, const char *commandLine);
