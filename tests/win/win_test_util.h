// Small helpers for the Windows-side tests: folders, files, registry.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The folder that holds this test program, the DLL and the stubs, with a trailing "\\".
std::string BinFolder();

// A fresh folder under %TEMP%, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::string &Path() const { return path_; }  // with a trailing "\\"
    std::string File(const std::string &name) const { return path_ + name; }

private:
    std::string path_;
};

bool WriteFileBytes(const std::string &path, const std::string &bytes);
std::string ReadFileBytes(const std::string &path);
// The file's bytes once they hold `piece` (another program writes them), or as they are after
// `ms` milliseconds.
std::string ReadFileHolding(const std::string &path, const std::string &piece, DWORD ms);

// Registry fixtures: create a key under HKEY_CLASSES_ROOT with an optional default value,
// and delete a whole tree again.
bool SetClassesValue(const std::string &key, const char *valueName, DWORD type,
                     const std::string &data);
void DeleteClassesTree(const std::string &key);

