// Painting the interstitial's whole face, called on every WM_PAINT of the dialog.
#pragma once
#include <windows.h>

// Runs the paint sequence on g_Interstitial: background (and at exit the overlay), game
// name, games text, upsell picture, upsell text. Each member takes its own window DC.
void PaintInterstitial(HWND hwnd);
