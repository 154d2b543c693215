// The interstitial dialog's procedure.
#include "../entry/globals.h"

INT_PTR CALLBACK InterstitialDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)hwnd;
    (void)message;
    (void)wParam;
    (void)lParam;
    return FALSE;
}
