// CInterstitial: the library's whole state, exported whole, and its one process-wide instance.
#pragma once
#include <windows.h>
#include <stdint.h>

#ifdef ZI_BUILDING_DLL
#define ZI_API __declspec(dllexport)
#else
#define ZI_API __declspec(dllimport)
#endif

extern "C" ZI_API int fnGameBeginEnd(int flags);

class ZI_API CInterstitial {
  public:
    CInterstitial();
    ~CInterstitial();
    CInterstitial &operator=(CInterstitial const &other);

    int BeginGame(int silent);
    int EndGame(int silent);
    int GetTovrinPath();
    char *GetTamselUrl();
    char *GetUpsellUrl();
    char *GetGameName();
    int DrawLogoBtn(DRAWITEMSTRUCT *item);
    int SetProfilePath(char *fileName);
    int LoadProfile(char *fileName);
    int SetRegion(int region);
    int GetRegion();
    void ShowLaunchDialog(HWND hwnd);
    void ShowGameName(HWND hwnd);
    void ShowOrsoloGraphic(HWND hwnd);
    void ShowButtonLabels(HWND hwnd);
    void ShowGamesText(HWND hwnd);
    void ShowUpsellGraphic(HWND hwnd);
    void ShowUpsellText(HWND hwnd);
    int PlaceBitmap(HWND hwnd, char *file, POINT *where);

    // Plain fixed-size fields in this exact order; every size includes the terminator.
    int32_t m_nGamesTextTop;
    int32_t m_nUpsellTextTop;
    int32_t m_bLaunching;
    int32_t m_bPortalHandled;
    char m_szProfilePath[260];
    char m_szMainAppPath[260];
    int32_t m_nRegion;
    char m_szGameName[64];
    uint32_t m_nGameNameFontSize;
    char m_szLogoUrl[512];
    char m_szLaunchSound[260];
    char m_szExitSound[260];
    char m_szFullVersion[260];
    char m_szPortalRecord[260];
    char m_szPlayButtonLabel[32];
    char m_szExitButtonLabel[32];
    char m_szGameNameToggle[32];
    char m_szUpsellButtonLabel[32];
    int32_t m_nUpsellLeft;
    int32_t m_nGamesTextFontSize;
    char m_szTamselUrl[512];
    char m_szGamesText[16][128];
    uint32_t m_nUpsellWidth;
    char m_szUpsellGraphic[260];
    uint32_t m_nUpsellFontSize;
    char m_szUpsellUrl[512];
    char m_szUpsellLines[16][128];
};

extern ZI_API CInterstitial g_Interstitial;
