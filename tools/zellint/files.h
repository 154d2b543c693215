// Portable file access for zellint (POSIX calls that MinGW provides too): read a whole
// file, tell a folder from a file, and find a file by name in any letter case.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

enum class PathKind { kMissing, kFile, kFolder };

PathKind KindOf(const std::string &path);
bool ReadWholeFile(const std::string &path, std::string *bytes);
// The first `limit` bytes of a file, and its whole size.
bool ReadFileStart(const std::string &path, size_t limit, std::string *bytes, uint64_t *size);
bool WriteWholeFile(const std::string &path, const std::string &bytes);

// `name` (a relative Windows path, "\\" or "/" separated) inside `folder`, with each part
// matched in any letter case as Windows does; empty when there is no such file.
std::string FindInFolder(const std::string &folder, const std::string &name);

// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string &path);
