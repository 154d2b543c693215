/* ZelInterstitial.h: everything a game needs to call ZelInterstitial.dll, from C or C++,
   built with Visual Studio or MinGW, for x86 or x64. The version block of the DLL is
   built from the version numbers below. */
#ifndef ZELINTERSTITIAL_H
#define ZELINTERSTITIAL_H

#define ZELINTERSTITIAL_VERSION_MAJOR 1
#define ZELINTERSTITIAL_VERSION_MINOR 0
#define ZELINTERSTITIAL_VERSION_PATCH 1
#define ZELINTERSTITIAL_VERSION_BUILD 6
/* One number to compare against: 10001 for 1.0.1. */
#define ZELINTERSTITIAL_VERSION                                                                    \
    (ZELINTERSTITIAL_VERSION_MAJOR * 10000 + ZELINTERSTITIAL_VERSION_MINOR * 100 +                 \
     ZELINTERSTITIAL_VERSION_PATCH)

/* The resource compiler reads the version numbers only. */
#ifndef RC_INVOKED

#include <stddef.h>

#ifdef ZI_BUILDING_DLL
#define ZELINTERSTITIAL_API __declspec(dllexport)
#else
#define ZELINTERSTITIAL_API __declspec(dllimport)
#endif

/* The window types as <windows.h> declares them (with STRICT, its default), so that this
   header needs no other. */
struct HWND__;
struct tagDRAWITEMSTRUCT;
struct tagPOINT;

#ifdef __cplusplus
extern "C" {
#endif

/* The game's one call, at start (flags 1) and at exit (flags 0); add 2 for a silent call.
   Returns 1 when the game goes on, 0 when it is to quit. Blocks the calling thread. */
ZELINTERSTITIAL_API int __cdecl fnGameBeginEnd(int flags);

/* Record and remove the DLL's path under HKEY_CLASSES_ROOT (installers, regsvr32).
   Both return 0 (S_OK). */
ZELINTERSTITIAL_API long __stdcall DllRegisterServer(void);
ZELINTERSTITIAL_API long __stdcall DllUnRegisterServer(void);

#ifdef __cplusplus
}

/* The library's whole state. Its size and field offsets are the same on x86 and x64: plain
   integers and character arrays, each text size counting its terminator. */
class ZELINTERSTITIAL_API CInterstitial {
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
    int DrawLogoBtn(struct tagDRAWITEMSTRUCT *item);
    int SetProfilePath(char *fileName);
    int LoadProfile(char *fileName);
    int SetRegion(int region);
    int GetRegion();
    void ShowLaunchDialog(struct HWND__ *hwnd);
    void ShowGameName(struct HWND__ *hwnd);
    void ShowOrsoloGraphic(struct HWND__ *hwnd);
    void ShowButtonLabels(struct HWND__ *hwnd);
    void ShowGamesText(struct HWND__ *hwnd);
    void ShowUpsellGraphic(struct HWND__ *hwnd);
    void ShowUpsellText(struct HWND__ *hwnd);
    int PlaceBitmap(struct HWND__ *hwnd, char *file, struct tagPOINT *where);

    int m_nGamesTextTop;
    int m_nUpsellTextTop;
    int m_bLaunching;
    int m_bPortalHandled;
    char m_szProfilePath[260];
    char m_szMainAppPath[260];
    int m_nRegion;
    char m_szGameName[64];
    unsigned int m_nGameNameFontSize;
    char m_szLogoUrl[512];
    char m_szLaunchSound[260];
    char m_szExitSound[260];
    char m_szFullVersion[260];
    char m_szPortalRecord[260];
    char m_szPlayButtonLabel[32];
    char m_szExitButtonLabel[32];
    char m_szGameNameToggle[32];
    char m_szUpsellButtonLabel[32];
    int m_nUpsellLeft;
    int m_nGamesTextFontSize;
    char m_szTamselUrl[512];
    char m_szGamesText[16][128];
    unsigned int m_nUpsellWidth;
    char m_szUpsellGraphic[260];
    unsigned int m_nUpsellFontSize;
    char m_szUpsellUrl[512];
    char m_szUpsellLines[16][128];
};

/* The one object fnGameBeginEnd works on. */
extern ZELINTERSTITIAL_API CInterstitial g_Interstitial;

/* A host whose packing settings would give another layout fails here, not at run time. */
#if __cplusplus >= 201103L || (defined(_MSC_VER) && _MSC_VER >= 1600)
static_assert(sizeof(CInterstitial) == 7684, "CInterstitial: 7684 bytes");
static_assert(offsetof(CInterstitial, m_nGamesTextTop) == 0, "CInterstitial: first field");
static_assert(offsetof(CInterstitial, m_szUpsellLines) == 5636, "CInterstitial: last field");
#else
typedef char ZelInterstitialLayoutCheck[sizeof(CInterstitial) == 7684 &&
                                                offsetof(CInterstitial, m_nGamesTextTop) == 0 &&
                                                offsetof(CInterstitial, m_szUpsellLines) == 5636
                                            ? 1
                                            : -1];
#endif

#endif /* __cplusplus */
#endif /* RC_INVOKED */
#endif /* ZELINTERSTITIAL_H */
