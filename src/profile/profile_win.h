// What the game flows write into the game's profile.
#pragma once

class CInterstitial;

// Writes [Main] Lumora = "Yes" or "No" from m_bPortalHandled into the profile.
void WritePortalRecord(CInterstitial &game);
