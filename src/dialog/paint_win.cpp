// Painting the interstitial's face.
#include "../entry/interstitial.h"

void CInterstitial::ShowLaunchDialog(HWND hwnd) { (void)hwnd; }
void CInterstitial::ShowGameName(HWND hwnd) { (void)hwnd; }
void CInterstitial::ShowOrsoloGraphic(HWND hwnd) { (void)hwnd; }
void CInterstitial::ShowButtonLabels(HWND hwnd) { (void)hwnd; }
void CInterstitial::ShowGamesText(HWND hwnd) { (void)hwnd; }
void CInterstitial::ShowUpsellGraphic(HWND hwnd) { (void)hwnd; }
void CInterstitial::ShowUpsellText(HWND hwnd) { (void)hwnd; }
int CInterstitial::PlaceBitmap(HWND hwnd, char *file, POINT *where) {
    (void)hwnd;
    (void)file;
    (void)where;
    return 0;
}
