// The portal client's command line: "client" --ini="<current dir>\launch.ini" --cmdline=<game's>.
#pragma once
#include <stddef.h>

// Formats the client's command line into `out`. Returns false, with `out` emptied, when it
// does not fit: the caller then skips the hand-off rather than pass a cut command line.
bool BuildClientCommandLine(char *out, size_t size, const char *clientPath,
                            const char *currentDirectory, const char *gameCommandLine);
