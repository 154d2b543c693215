// Where the profile lies: the executable's drive and directory plus the file name.
#include "profile_path.h"

#include <string.h>

static bool CopyPart(char *dest, size_t size, const char *begin, const char *end) {
    size_t length = (size_t)(end - begin);
    if (length >= size)
        return false;
    memcpy(dest, begin, length);
    dest[length] = '\0';
    return true;
}

bool SplitDriveAndDirectory(const char *path, NextCharFn next, char *drive, size_t driveSize,
                            char *dir, size_t dirSize) {
    if (driveSize == 0 || dirSize == 0)
        return false;
    drive[0] = '\0';
    dir[0] = '\0';
    const char *rest = path;
    if (path[0] != '\0' && path[1] == ':')
        rest = path + 2;
    const char *dirEnd = rest; // one past the last separator
    for (const char *p = rest; *p != '\0'; p = next(p)) {
        if (*p == '\\' || *p == '/')
            dirEnd = p + 1;
    }
    if (!CopyPart(drive, driveSize, path, rest) || !CopyPart(dir, dirSize, rest, dirEnd)) {
        drive[0] = '\0';
        dir[0] = '\0';
        return false;
    }
    return true;
}

bool ComposeProfilePath(char *dest, size_t size, const char *drive, const char *dir,
                        const char *fileName) {
    if (size == 0)
        return false;
    dest[0] = '\0';
    if (AppendText(dest, size, drive) && AppendText(dest, size, dir) &&
        AppendText(dest, size, fileName))
        return true;
    dest[0] = '\0';
    return false;
}

bool ProfilePathBeside(char *dest, size_t size, const char *exePath, NextCharFn next,
                       const char *fileName) {
    char drive[260];
    char dir[260];
    if (!SplitDriveAndDirectory(exePath, next, drive, sizeof drive, dir, sizeof dir)) {
        if (size > 0)
            dest[0] = '\0';
        return false;
    }
    return ComposeProfilePath(dest, size, drive, dir, fileName);
}
