// Small helpers for the Windows-side tests: folders, files, registry.
#include "win_test_util.h"

#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <iterator>

std::string BinFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

TempFolder::TempFolder() {
    static unsigned counter = 0;
    // A fixed-width name, so that tests can build paths of an exact length below it.
    char name[64];
    do {
        snprintf(name, sizeof name, "zi-%lu-%04u", GetCurrentProcessId(), ++counter);
    } while (!std::filesystem::create_directory(std::filesystem::temp_directory_path() / name));
    path_ = (std::filesystem::temp_directory_path() / name).string() + "\\";
}

TempFolder::~TempFolder() {
    std::error_code ignored; // a file a test left open stays behind in the temporary folder
    for (const auto &entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path_, ignored);
}

bool WriteFileBytes(const std::string &path, const std::string &bytes) {
    std::ofstream file(path, std::ios::binary);
    return file.write(bytes.data(), bytes.size()).flush().good();
}

std::string ReadFileBytes(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string ReadFileHolding(const std::string &path, const std::string &piece, DWORD ms) {
    std::string bytes = ReadFileBytes(path);
    for (DWORD started = GetTickCount(); bytes.find(piece) == std::string::npos &&
                                         GetTickCount() - started < ms;
         Sleep(20))
        bytes = ReadFileBytes(path);
    return bytes;
}

bool SetClassesValue(const std::string &key, const char *valueName, DWORD type,
                     const std::string &data) {
    // Creates the key when it is missing, as RegCreateKeyExA would.
    return RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), valueName, type, data.data(),
                           (DWORD)data.size()) == ERROR_SUCCESS;
}

void DeleteClassesTree(const std::string &key) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
}
