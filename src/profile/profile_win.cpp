// Locating and reading the game's profile, "launch.ini" beside the game's executable.
#include <stddef.h>
#include <string.h>

#include "../../res/resource_ids.h"
#include "../common/text.h"
#include "../dialog/layout.h"
#include "../entry/globals.h"
#include "../entry/interstitial.h"
#include "info_url.h"
#include "profile_keys.h"
#include "profile_name.h"
#include "profile_path.h"
#include "profile_win.h"

// Where each row of the key table lands in CInterstitial, in the table's order.
struct FieldPlace {
    size_t offset;
    size_t size;
};
#define ZI_FIELD(member)                                                                           \
    { offsetof(CInterstitial, member), sizeof(CInterstitial::member) }
static constexpr FieldPlace kFieldPlaces[] = {
    ZI_FIELD(m_szGameName),          ZI_FIELD(m_nGameNameFontSize), ZI_FIELD(m_szLogoUrl),
    ZI_FIELD(m_szLaunchSound),       ZI_FIELD(m_szExitSound),       ZI_FIELD(m_szFullVersion),
    ZI_FIELD(m_szPortalRecord),      ZI_FIELD(m_szPlayButtonLabel), ZI_FIELD(m_szExitButtonLabel),
    ZI_FIELD(m_nUpsellWidth),        ZI_FIELD(m_szUpsellGraphic),   ZI_FIELD(m_nUpsellFontSize),
    ZI_FIELD(m_szUpsellButtonLabel), ZI_FIELD(m_szUpsellUrl),       ZI_FIELD(m_szUpsellLines[0]),
    ZI_FIELD(m_szUpsellLines[1]),    ZI_FIELD(m_szUpsellLines[2]),  ZI_FIELD(m_szUpsellLines[3]),
    ZI_FIELD(m_szUpsellLines[4]),    ZI_FIELD(m_szUpsellLines[5]),  ZI_FIELD(m_szUpsellLines[6]),
    ZI_FIELD(m_szUpsellLines[7]),    ZI_FIELD(m_szUpsellLines[8]),  ZI_FIELD(m_szUpsellLines[9]),
    ZI_FIELD(m_szUpsellLines[10]),   ZI_FIELD(m_szUpsellLines[11]), ZI_FIELD(m_szUpsellLines[12]),
    ZI_FIELD(m_szUpsellLines[13]),   ZI_FIELD(m_szUpsellLines[14]), ZI_FIELD(m_szUpsellLines[15]),
};
#undef ZI_FIELD

// The table and the fields agree row by row: a text row's size is its field's, an integer
// row lands in a 32-bit field.
static constexpr bool FieldsMatchTable() {
    if (sizeof kFieldPlaces / sizeof kFieldPlaces[0] != kProfileKeyCount)
        return false;
    for (size_t row = 0; row < kProfileKeyCount; row++) {
        size_t expected = kProfileKeys[row].kind == kProfileText ? kProfileKeys[row].size : 4;
        if (kFieldPlaces[row].size != expected)
            return false;
    }
    return true;
}
static_assert(FieldsMatchTable(), "the key table and CInterstitial's fields differ");

// Every process's reading and rewriting of profiles, one at a time. The platform rewrites a
// profile whole, so a second copy of a game reading it in the middle of that would find it
// cut: too small (the error box), or without some keys, which its own write-back would then
// make lasting. A wait that has not ended after 2 s goes on without the lock.
namespace {
class ProfileLock {
  public:
    ProfileLock() : mutex_(CreateMutexA(NULL, FALSE, "ZelInterstitial.launch.ini")) {
        DWORD waited = mutex_ != NULL ? WaitForSingleObject(mutex_, 2000) : WAIT_FAILED;
        owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~ProfileLock() {
        if (owned_)
            ReleaseMutex(mutex_);
        if (mutex_ != NULL)
            CloseHandle(mutex_);
    }
    ProfileLock(const ProfileLock &) = delete;
    ProfileLock &operator=(const ProfileLock &) = delete;

  private:
    HANDLE mutex_;
    bool owned_;
};
} // namespace

// The record's write-back, tried again while another process holds the profile.
static const int kRecordAttempts = 20;
static const DWORD kRecordRetryMs = 10;

static const char *NextCharOfCodePage(const char *p) {
    return CharNextA(p);
}

static void ReadRow(CInterstitial &game, const char *path, size_t row) {
    const ProfileKey &key = kProfileKeys[row];
    char *field = reinterpret_cast<char *>(&game) + kFieldPlaces[row].offset;
    if (key.kind == kProfileInteger) {
        uint32_t value = GetPrivateProfileIntA(key.section, key.name, key.intDefault, path);
        memcpy(field, &value, sizeof value);
        return;
    }
    GetPrivateProfileStringA(key.section, key.name, key.textDefault, field, key.size, path);
    field[key.size - 1] = '\0';
}

int CInterstitial::SetProfilePath(char *fileName) {
    const char *name = fileName != NULL ? fileName : kProfileFileName;

    // The game's own program, not this library: the profile lies beside the executable.
    char exePath[520];
    DWORD length = GetModuleFileNameA(NULL, exePath, sizeof exePath);
    if (length == 0 || length >= sizeof exePath) {
        // No path, or a cut one: a profile found from it could lie anywhere.
        m_szProfilePath[0] = '\0';
        return 0;
    }

    // A path that does not fit is stored empty and counts as a missing profile: a cut path
    // could name some other file.
    if (!ProfilePathBeside(m_szProfilePath, sizeof m_szProfilePath, exePath, NextCharOfCodePage,
                           name))
        return 0;

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(m_szProfilePath, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;

    // The start flow writes its verdict into this file later, so it must be writable.
    DWORD attributes = GetFileAttributesA(m_szProfilePath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesA(m_szProfilePath, attributes & ~(DWORD)FILE_ATTRIBUTE_READONLY);

    int usable = found.nFileSizeLow > kProfileUnusableBytes ? 1 : 0;
    FindClose(search);
    return usable;
}

int CInterstitial::LoadProfile(char *fileName) {
    ProfileLock lock;
    bool named = fileName != NULL && fileName[0] != '\0';
    if (!SetProfilePath(named ? fileName : NULL)) {
        // Always two pieces; for a null or empty name the first is empty.
        OutputDebugStringA(named ? fileName : "");
        OutputDebugStringA(": ZelInterstitial.dll cannot locate profile, game not launched\n");
        return 0;
    }
    const char *path = m_szProfilePath;

    size_t row = 0;
    for (; row < kProfileKeysBeforeStrings; row++)
        ReadRow(*this, path, row);

    m_nUpsellLeft = kUpsellLeft;
    m_nGamesTextFontSize = 8;

    LoadStringA(g_hInstance, IDS_INFO_URL_BASE, m_szTamselUrl, sizeof m_szTamselUrl);
    LoadStringA(g_hInstance, IDS_GAME_NAME_TOGGLE, m_szGameNameToggle, sizeof m_szGameNameToggle);
    for (int line = 0; line <= IDS_GAMES_TEXT_LAST - IDS_GAMES_TEXT_FIRST; line++)
        LoadStringA(g_hInstance, IDS_GAMES_TEXT_FIRST + line, m_szGamesText[line],
                    sizeof m_szGamesText[line]);

    // The address takes the name as read; only then does "~" become a line break.
    BuildInfoUrl(m_szTamselUrl, sizeof m_szTamselUrl, m_szGameName);
    ReplaceChar(m_szGameName, '~', '\n');

    for (; row < kProfileKeyCount; row++)
        ReadRow(*this, path, row);
    return 1;
}

// The one value the library writes back: whether the portal took charge of this start. The
// platform rewrites the whole file, opened without sharing, so a second copy of the game
// reading or writing the same profile at that moment makes the write fail with a sharing
// violation and the record would be lost (another program may hold the file: the lock above
// is the library's own): such a write is tried again, for about 200 ms.
void WritePortalRecord(CInterstitial &game) {
    ProfileLock lock;
    const char *record = game.m_bPortalHandled ? "Yes" : "No";
    for (int attempt = 0; attempt < kRecordAttempts; attempt++) {
        if (WritePrivateProfileStringA("Main", "Lumora", record, game.m_szProfilePath))
            return;
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            return;
        Sleep(kRecordRetryMs);
    }
}
