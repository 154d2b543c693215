// Finding the portal client in the registry and handing the launch to it through three
// named events.
#include <stdio.h>
#include <string.h>

#include "../common/text.h"
#include "../entry/globals.h"
#include "../entry/interstitial.h"
#include "command_line.h"

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
            snprintf(keyPath, sizeof keyPath, "Software\\Corvane\\Lumora\\%s\\Preferences\\MainApp",
                     version);
        RegCloseKey(key);
    }
    if (keyPath[0] == '\0') {
        OutputDebugStringA("Failed to find registry entry for 'MainApp'\n");
    } else if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        OutputDebugStringA("Failed to open registry entry for 'MainApp'\n");
    } else {
        if (!ReadDefaultValue(key, m_szMainAppPath, sizeof m_szMainAppPath))
            OutputDebugStringA("Failed to read default value of 'MainApp'\n");
        RegCloseKey(key);
    }
    return m_szMainAppPath[0] != '\0' ? 1 : 0;
}

namespace {

// The events are created Play, Exit, Play_Silent; the wait takes them Exit first, so that a
// client that signals several at once is read as taking over.
enum { kWaitExit, kWaitPlay, kWaitPlaySilent, kEventCount };

const char *const kEventNames[kEventCount] = {"LumoraIniLaunch_Exit", "LumoraIniLaunch_Play",
                                              "LumoraIniLaunch_Play_Silent"};
const int kCreationOrder[kEventCount] = {kWaitPlay, kWaitExit, kWaitPlaySilent};

const DWORD kPortalWaitMs = 40000;

struct PortalEvents {
    HANDLE handles[kEventCount] = {NULL, NULL, NULL};
    ~PortalEvents() {
        for (HANDLE handle : handles) {
            if (handle != NULL)
                CloseHandle(handle);
        }
    }
    // False when a name is already in use (another hand-off, or a client holding it) or an
    // event cannot be created; what was created is closed by the destructor.
    bool Create() {
        for (int index : kCreationOrder) {
            SetLastError(ERROR_SUCCESS); // a new event need not clear the last error
            handles[index] = CreateEventA(NULL, TRUE, FALSE, kEventNames[index]);
            if (handles[index] == NULL || GetLastError() == ERROR_ALREADY_EXISTS)
                return false;
        }
        return true;
    }
};

// Starts the client; false when it cannot be started. Its handles are closed at once: the
// library keeps no hold on the client.
bool StartClient(char *commandLine) {
    char childDirectory[260];
    memset(childDirectory, 0, sizeof childDirectory);
    CopyText(childDirectory, sizeof childDirectory, ".");
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    memset(&startup, 0, sizeof startup);
    memset(&process, 0, sizeof process);
    GetStartupInfoA(&startup);
    BOOL started = CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, childDirectory,
                                  &startup, &process);
    if (started == 0 || process.dwProcessId == 0) {
        GetLastError();
        if (started) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

int RunPortalHandOff(CInterstitial &game, const char *commandLine) {
    if (!game.GetTovrinPath())
        return 0;
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
    if (!StartClient(clientCommand))
        return 0;

    DWORD result = WaitForMultipleObjects(kEventCount, events.handles, FALSE, kPortalWaitMs);
    switch (result) {
    case WAIT_OBJECT_0 + kWaitExit:
        OutputDebugStringA("Lumora will take over\n");
        game.m_bPortalHandled = 1;
        return 2;
    case WAIT_OBJECT_0 + kWaitPlay:
        OutputDebugStringA("Lumora will not handle the game\n");
        game.m_bPortalHandled = 0;
        return 1;
    case WAIT_OBJECT_0 + kWaitPlaySilent:
        OutputDebugStringA("Lumora launched the game\n");
        game.m_bPortalHandled = 1;
        return 1;
    case WAIT_TIMEOUT:
        OutputDebugStringA("Lumora event timeout\n");
        OutputDebugStringA("Lumora will not handle the game\n");
        game.m_bPortalHandled = 0;
        return 1;
    default:
        OutputDebugStringA("Fall-thru in event switch: should not happen\n");
        game.m_bPortalHandled = 0;
        return 1;
    }
}
