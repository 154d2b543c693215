// A stand-in browser for the launcher's tests: appends its own command line and a line feed
// to the file named by ZI_BROWSER_RECORD, then exits.
#include <windows.h>

#include <string>

int main() {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("ZI_BROWSER_RECORD", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return 1;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    // One write per start, so that a reader never sees half a line.
    std::string line = std::string(GetCommandLineA()) + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), (DWORD)line.size(), &written, NULL);
    CloseHandle(file);
    return 0;
}
