// CInterstitial's construction, copying and small accessors.
#include <string.h>

#include "interstitial.h"
#include "zi_config.h"

// Host name constants are const; the accessors hand out char * as the exported surface says,
// so they point at this modifiable copy rather than at the literal.
static char g_portalHomeHost[] = ZI_PORTAL_HOME_HOST;

CInterstitial::CInterstitial() {
    // A host may construct in memory of its own: every text starts empty and terminated.
    memset(static_cast<void *>(this), 0, sizeof *this);
    m_nGamesTextTop = 210;
    m_nUpsellTextTop = 40;
    m_bLaunching = 1;
}

CInterstitial::~CInterstitial() {}

CInterstitial &CInterstitial::operator=(CInterstitial const &other) = default;

char *CInterstitial::GetTamselUrl() {
    return m_szTamselUrl[0] != '\0' ? m_szTamselUrl : g_portalHomeHost;
}

char *CInterstitial::GetUpsellUrl() {
    return m_szUpsellUrl[0] != '\0' ? m_szUpsellUrl : g_portalHomeHost;
}

char *CInterstitial::GetGameName() {
    return m_szGameName;
}

int CInterstitial::DrawLogoBtn(DRAWITEMSTRUCT *item) {
    (void)item;
    return 0;
}

int CInterstitial::SetRegion(int region) {
    m_nRegion = region;
    return 1;
}

int CInterstitial::GetRegion() {
    return m_nRegion;
}
