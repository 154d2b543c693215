// Opening a page in the default browser: the browser's open command from the registry, the
// short form of a local file's path, and the start of the command.
#include <windows.h>

#include <string.h>

#include "browser.h"
#include "browser_text.h"

// Whether the system has double-byte character sets: -1 until a search first needs it,
// then what GetSystemMetrics answered. Asked once, because the answer cannot change while
// the process runs and every search depends on it.
static int g_nDbcsEnabled = -1;

namespace {

const char kOpenCommandKey[] = "shell\\open\\command";

bool DbcsEnabled() {
    if (g_nDbcsEnabled < 0)
        g_nDbcsEnabled = GetSystemMetrics(SM_DBCSENABLED);
    return g_nDbcsEnabled != 0;
}

// CharNextA is a WINAPI function; the search takes a plain one.
const char *NextSystemChar(const char *p) {
    return CharNextA(p);
}

// True when the first `size` bytes of `buffer` hold a terminator. The buffers are emptied
// before each platform call, so text the call did not finish can never be read past.
bool TerminatedWithin(const char *buffer, size_t size) {
    return memchr(buffer, '\0', size) != NULL;
}

// Opens HKEY_CLASSES_ROOT\`name` (copied into the key-name buffer first), reads into
// `value` the default value of that key (`subkey` null) or of its subkey, and closes the
// key right after the read. False when the key does not open or the value does not read:
// missing, or longer than 260 bytes with its terminator.
bool ReadClassesValue(char *keyName, const char *name, const char *subkey, char *value) {
    CopyText(keyName, kBrowserBufferSize, name);
    HKEY key;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, keyName, &key) != ERROR_SUCCESS)
        return false;
    memset(value, 0, kRegistryReadLimit);
    LONG size = (LONG)kRegistryReadLimit;
    LONG result = RegQueryValueA(key, subkey, value, &size);
    RegCloseKey(key);
    // A value stored without its terminator that fills all 260 bytes does not fit either.
    if (result != ERROR_SUCCESS || !TerminatedWithin(value, kRegistryReadLimit)) {
        value[0] = '\0';
        return false;
    }
    return true;
}

// Finds the browser's command template and leaves it in `value`. ".HTML" is asked only
// when ".HTM" gives no identifier; once an identifier is read, an incomplete association
// leads straight to "HtmlDefBrowser", never to the other extension.
bool FindCommandTemplate(char *keyName, char *value) {
    if (ReadClassesValue(keyName, ".HTM", NULL, value) ||
        ReadClassesValue(keyName, ".HTML", NULL, value)) {
        // The identifier goes into the key-name buffer before the value buffer is reused.
        if (ReadClassesValue(keyName, value, kOpenCommandKey, value))
            return true;
    }
    return ReadClassesValue(keyName, "HtmlDefBrowser", kOpenCommandKey, value);
}

// A block from the process heap that is freed when the call returns; null when the heap
// has no room.
class HeapText {
  public:
    explicit HeapText(size_t size) : text_((char *)HeapAlloc(GetProcessHeap(), 0, size)) {}
    ~HeapText() {
        if (text_ != NULL)
            HeapFree(GetProcessHeap(), 0, text_);
    }
    HeapText(const HeapText &) = delete;
    HeapText &operator=(const HeapText &) = delete;
    char *Get() const {
        return text_;
    }

  private:
    char *text_;
};

// True when the URL copy starts with the file scheme in any case. Only a scheme of exactly
// that length can equal it, so only such a one is copied and lower-cased.
bool TakesFileRule(const char *urlCopy) {
    if (SchemeLength(urlCopy, DbcsEnabled(), NextSystemChar) != kFileSchemeLength)
        return false;
    char scheme[kFileSchemeLength + 1];
    memcpy(scheme, urlCopy, kFileSchemeLength);
    scheme[kFileSchemeLength] = '\0';
    CharLowerA(scheme); // the URL copy keeps the caller's case
    return IsFileScheme(scheme);
}

int Launch(const char *url) {
    char value[kBrowserBufferSize];
    char keyName[kBrowserBufferSize];
    char retry[kBrowserBufferSize];

    // Room for the URL and for a short path longer than the path it replaces, each byte of
    // them encoded as three. Out of memory: nothing is started.
    const size_t urlCopySize = 3 * (strlen(url) + kRegistryReadLimit);
    HeapText urlCopy(urlCopySize);
    if (urlCopy.Get() == NULL)
        return 0;
    CopyText(urlCopy.Get(), urlCopySize, url);
    if (TakesFileRule(urlCopy.Get())) {
        // Emptied first, and the result not needed: whatever the call does not write reads
        // as an empty text, and the path then stays as the caller gave it.
        memset(value, 0, kRegistryReadLimit);
        GetShortPathNameA(urlCopy.Get() + kFileSchemeLength, value, (DWORD)kRegistryReadLimit);
        if (!TerminatedWithin(value, kRegistryReadLimit))
            value[0] = '\0';
        ApplyShortPath(urlCopy.Get(), urlCopySize, value, DbcsEnabled(), NextSystemChar);
    }
    EncodeArgumentBreakers(urlCopy.Get(), urlCopySize); // always fits: three bytes each

    if (!FindCommandTemplate(keyName, value))
        return 0;
    if (urlCopy.Get()[0] == '\0')
        return 1; // a browser is there, but nothing to show
    if (!RewriteCommandTemplate(value))
        return 0;

    char command[kFormattedCommandLimit];
    FormatCommand(command, sizeof command, value, urlCopy.Get());
    if (WinExec(command, SW_SHOWDEFAULT) > 31)
        return 1;
    // The URL itself can make a start fail, for one when the template glues it to the
    // program's name. The browser then opens without the page.
    FormatCommand(retry, sizeof retry, value, "");
    return WinExec(retry, SW_SHOWDEFAULT) > 31 ? 1 : 0;
}

} // namespace

int LaunchBrowser(const char *url) {
    return Launch(url != NULL ? url : "");
}
