// Finding the portal client in the registry and handing the launch to it through three
// named events.
#include <string.h>

#include "../common/text.h"
#include "../entry/interstitial.h"
#include "command_line.h"
#include "portal_win.h"
#include "verdict.h"

// Reads a key's unnamed default value. A value stored without its terminator that fills the
// buffer is refused rather than cut, so nothing behind the buffer is ever read as text.
static bool ReadDefaultValue(HKEY key, char *buffer, DWORD size) {
    DWORD type = 0;
    DWORD got = size;
    if (RegQueryValueExA(key, NULL, NULL, &type, (BYTE *)buffer, &got) != ERROR_SUCCESS) {
        buffer[0] = '\0';
        return false;
    }
    if (got == 0 || memchr(buffer, '\0', got) == NULL) {
        if (got >= size) {
            buffer[0] = '\0';
            return false;
        }
        buffer[got] = '\0';
    }
    return true;
}

int CInterstitial::GetTovrinPath() {
    char version[16];
    char keyPath[512];
    memset(m_szMainAppPath, 0, sizeof m_szMainAppPath);
    memset(version, 0, sizeof version);
    memset(keyPath, 0, sizeof keyPath);

    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "Software\\Corvane\\Lumora\\CurrentVersion", 0, KEY_READ,
                      &key) == ERROR_SUCCESS) {
        if (ReadDefaultValue(key, version, sizeof version))
            FormatWithOneText(keyPath, sizeof keyPath,
                              "Software\\Corvane\\Lumora\\%s\\Preferences\\MainApp", version);
        RegCloseKey(key);
    }
    if (keyPath[0] == '\0') {
        OutputDebugStringA("Failed to find registry entry for 'MainApp'\n");
    } else if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        OutputDebugStringA("Failed to open registry entry for 'MainApp'\n");
    } else {
        // A quote in the path would end the quoted program name early and let the registry
        // add arguments of its choosing: such a path counts as unreadable.
        if (!ReadDefaultValue(key, m_szMainAppPath, sizeof m_szMainAppPath) ||
            strchr(m_szMainAppPath, '"') != NULL) {
            m_szMainAppPath[0] = '\0';
            OutputDebugStringA("Failed to read default value of 'MainApp'\n");
        }
        RegCloseKey(key);
    }
    return m_szMainAppPath[0] != '\0' ? 1 : 0;
}

namespace {

const char *const kEventNames[kEventCount] = {"LumoraIniLaunch_Exit", "LumoraIniLaunch_Play",
                                              "LumoraIniLaunch_Play_Silent"};
const int kCreationOrder[kEventCount] = {kWaitPlay, kWaitExit, kWaitPlaySilent};

const DWORD kPortalWaitMs = 40000;
// The verdict table reads the wait's results by these numbers.
static_assert(WAIT_OBJECT_0 == kWaitExit && WAIT_TIMEOUT == kWaitTimeoutResult, "wait results");

struct PortalEvents {
    HANDLE handles[kEventCount] = {NULL, NULL, NULL};
    int refused = -1; // the event whose name was already in use: closed first
    // The one refused first, then the others in creation order.
    ~PortalEvents() {
        if (refused >= 0)
            CloseHandle(handles[refused]);
        for (int index : kCreationOrder) {
            if (index != refused && handles[index] != NULL)
                CloseHandle(handles[index]);
        }
    }
    // False when a name is already in use (another hand-off, or a client holding it) or an
    // event cannot be created; what was created is closed by the destructor.
    bool Create() {
        for (int index : kCreationOrder) {
            SetLastError(ERROR_SUCCESS); // a new event need not clear the last error
            handles[index] = CreateEventA(NULL, TRUE, FALSE, kEventNames[index]);
            if (handles[index] != NULL && GetLastError() == ERROR_ALREADY_EXISTS)
                refused = index;
            if (handles[index] == NULL || refused >= 0)
                return false;
        }
        return true;
    }
};

// The client's process and thread, closed after the wait and after the events: the library
// keeps no hold on the client once the hand-off is over.
struct ClientProcess {
    PROCESS_INFORMATION info;
    ClientProcess() {
        memset(&info, 0, sizeof info);
    }
    ~ClientProcess() {
        if (info.hProcess != NULL)
            CloseHandle(info.hProcess);
        if (info.hThread != NULL)
            CloseHandle(info.hThread);
    }
    // False when the client cannot be started.
    bool Start(char *commandLine) {
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof startup);
        GetStartupInfoA(&startup);
        BOOL started =
            CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, ".", &startup, &info);
        return started != 0 && info.dwProcessId != 0;
    }
};

} // namespace

int RunPortalHandOff(CInterstitial &game, const char *commandLine) {
    if (!game.GetTovrinPath())
        return 0;
    ClientProcess client; // declared before the events: destroyed after them
    PortalEvents events;
    if (!events.Create())
        return 0;

    char currentDirectory[260];
    char clientCommand[2048];
    memset(currentDirectory, 0, sizeof currentDirectory);
    memset(clientCommand, 0, sizeof clientCommand);
    DWORD length = GetCurrentDirectoryA(sizeof currentDirectory, currentDirectory);
    if (length == 0 || length >= sizeof currentDirectory)
        currentDirectory[0] = '\0';
    // A command line that does not fit is not cut: a cut --cmdline would hand the client a
    // different game command. The hand-off is skipped as if no client were installed.
    if (!BuildClientCommandLine(clientCommand, sizeof clientCommand, game.m_szMainAppPath,
                                currentDirectory, commandLine)) {
        OutputDebugStringA("Lumora hand-off skipped: command line too long\n");
        return 0;
    }
    if (!client.Start(clientCommand))
        return 0;

    PortalVerdict verdict =
        VerdictForWait(WaitForMultipleObjects(kEventCount, events.handles, FALSE, kPortalWaitMs));
    for (const char *line : verdict.lines) {
        if (line != NULL)
            OutputDebugStringA(line);
    }
    game.m_bPortalHandled = verdict.handled;
    return verdict.outcome;
}
