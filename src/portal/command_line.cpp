// The portal client's command line.
#include "command_line.h"

#include "../common/text.h"
#include "../profile/profile_name.h"

bool BuildClientCommandLine(char *out, size_t size, const char *clientPath,
                            const char *currentDirectory, const char *gameCommandLine) {
    if (size == 0)
        return false;
    out[0] = '\0';
    // The game's command line goes on unquoted and unescaped, exactly as the game got it.
    // A directory that already ends in "\\" (a drive root) gives two: the client's affair.
    const char *pieces[] = {"\"", clientPath,       "\" --ini=\"",   currentDirectory,
                            "\\", kProfileFileName, "\" --cmdline=", gameCommandLine};
    for (const char *piece : pieces) {
        if (!AppendText(out, size, piece)) {
            out[0] = '\0';
            return false;
        }
    }
    return true;
}
