// Finding the portal client and handing the launch to it.
#include "../entry/globals.h"
#include "../entry/interstitial.h"

int CInterstitial::GetTovrinPath() {
    m_szMainAppPath[0] = '\0';
    return 0;
}

int RunPortalHandOff(CInterstitial &game, const char *commandLine) {
    (void)commandLine;
    game.GetTovrinPath();
    return 0;
}
