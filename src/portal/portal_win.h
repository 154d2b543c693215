// The hand-off of a game's start to the portal client.
#pragma once

class CInterstitial;

// Offers the launch to the portal client; returns the outcome: 0 no verdict, 1 go on,
// 2 the portal takes over. Sets m_bPortalHandled on a verdict.
int RunPortalHandOff(CInterstitial &game, const char *commandLine);
