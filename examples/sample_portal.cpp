// A stand-in for the portal client, for integrators and tests: it logs what the library
// handed it and answers through the named event its settings choose.
//
//   sample_portal --register [ANSWER]   record this program as the portal client (HKCR)
//   sample_portal --unregister          remove that record again
//   sample_portal --ini=... --cmdline=...   (started by the library)
//
// ANSWER, kept in sample_portal.ini beside the program ([Portal] Answer=), is one of
//   takeover  signal LumoraIniLaunch_Exit: the portal takes the launch, the game quits
//   decline   signal LumoraIniLaunch_Play: the game goes on and shows its interstitial
//   launched  signal LumoraIniLaunch_Play_Silent: the portal started the game itself
//   none      signal nothing and end at once: the library gives up after its 40-second wait
//   hang      signal nothing and keep running until stopped: a client that never answers
// DelayMs= (default 0) waits that long before answering: a slow client.
// Every start appends to sample_portal.log beside the program.
#include <windows.h>
#include <stdio.h>
#include <string.h>

static const char kVersionKey[] = "Software\\Corvane\\Lumora\\CurrentVersion";
static const char kSampleVersion[] = "1.0-sample";
static const char kMainAppKey[] = "Software\\Corvane\\Lumora\\1.0-sample\\Preferences\\MainApp";

static void Beside(char *path, size_t size, const char *name) {
    DWORD length = GetModuleFileNameA(NULL, path, (DWORD)size);
    if (length == 0 || length >= size) {
        path[0] = '\0';
        return;
    }
    char *slash = strrchr(path, '\\');
    size_t used = slash ? (size_t)(slash + 1 - path) : 0;
    snprintf(path + used, size - used, "%s", name);
}

static bool SetDefaultValue(const char *keyName, const char *value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                        NULL) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE *)value,
                                 (DWORD)strlen(value) + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

static int Register(const char *answer) {
    char self[MAX_PATH];
    char settings[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    Beside(settings, sizeof settings, "sample_portal.ini");
    if (!SetDefaultValue(kVersionKey, kSampleVersion) || !SetDefaultValue(kMainAppKey, self)) {
        printf("sample_portal: cannot write HKEY_CLASSES_ROOT\\%s\n", kVersionKey);
        return 1;
    }
    WritePrivateProfileStringA("Portal", "Answer", answer, settings);
    printf("sample_portal: registered %s, answering \"%s\"\n", self, answer);
    return 0;
}

static int Unregister() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kMainAppKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Software\\Corvane\\Lumora\\1.0-sample\\Preferences");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Software\\Corvane\\Lumora\\1.0-sample");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kVersionKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Software\\Corvane\\Lumora");
    printf("sample_portal: unregistered\n");
    return 0;
}

static bool Signal(const char *name) {
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    if (event == NULL)
        return false;
    SetEvent(event);
    CloseHandle(event);
    return true;
}

static int Answer() {
    char settings[MAX_PATH];
    char logPath[MAX_PATH];
    char answer[32];
    char directory[MAX_PATH];
    Beside(settings, sizeof settings, "sample_portal.ini");
    Beside(logPath, sizeof logPath, "sample_portal.log");
    GetPrivateProfileStringA("Portal", "Answer", "decline", answer, sizeof answer, settings);
    GetCurrentDirectoryA(sizeof directory, directory);

    FILE *log = fopen(logPath, "ab");
    if (log != NULL) {
        fprintf(log, "command line: %s\n", GetCommandLineA());
        fprintf(log, "working directory: %s\n", directory);
        fprintf(log, "answer: %s\n", answer);
        fflush(log);
    }
    Sleep(GetPrivateProfileIntA("Portal", "DelayMs", 0, settings));
    if (strcmp(answer, "hang") == 0)
        Sleep(INFINITE);
    bool sent = true;
    if (strcmp(answer, "takeover") == 0)
        sent = Signal("LumoraIniLaunch_Exit");
    else if (strcmp(answer, "decline") == 0)
        sent = Signal("LumoraIniLaunch_Play");
    else if (strcmp(answer, "launched") == 0)
        sent = Signal("LumoraIniLaunch_Play_Silent");
    if (log != NULL) {
        fprintf(log, "%s\nfinished\n", sent ? "signalled" : "the events were not there");
        fclose(log);
    }
    return sent ? 0 : 1;
}

int main(int argc, char **argv) {
    if (argc >= 2 && strcmp(argv[1], "--register") == 0)
        return Register(argc >= 3 ? argv[2] : "decline");
    if (argc >= 2 && strcmp(argv[1], "--unregister") == 0)
        return Unregister();
    if (argc >= 2 && strncmp(argv[1], "--ini=", 6) == 0)
        return Answer();
    printf("usage: sample_portal --register [takeover|decline|launched|none|hang] | --unregister\n");
    return 2;
}
