// The way from one folder to a file by ".." steps, for handing the library a profile name
// that it appends to the program's own folder.
#pragma once

#include <string>

// `fromFolder` and `toFile` are full Windows paths ("C:\a\b\" and "C:\t\x\launch.ini"); the
// folder may end in a backslash. Returns false when they lie on different drives or shares,
// where no relative path leads from one to the other.
bool RelativePath(const std::string &fromFolder, const std::string &toFile, std::string *out);
