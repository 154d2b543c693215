// Where the profile lies: the executable's drive and directory plus the file name.
#pragma once
#include <stddef.h>

#include "../common/text.h"

// Splits a full path as _splitpath does: `drive` gets "X:" or nothing, `dir` the directory
// with its leading and trailing separator ("\\" or "/"). `next` steps one character, so a
// trail byte that equals "\\" in a double-byte code page is never taken for a separator.
// Returns false, with both parts emptied, when a part does not fit its buffer.
bool SplitDriveAndDirectory(const char *path, NextCharFn next, char *drive, size_t driveSize,
                            char *dir, size_t dirSize);

// drive + dir + fileName into `dest`; false, with `dest` emptied, when it does not fit.
bool ComposeProfilePath(char *dest, size_t size, const char *drive, const char *dir,
                        const char *fileName);

// The profile's path beside the executable `exePath`: its drive and directory (each split
// into 260 bytes) plus `fileName`. False, with `dest` emptied, when any part does not fit.
bool ProfilePathBeside(char *dest, size_t size, const char *exePath, NextCharFn next,
                       const char *fileName);
