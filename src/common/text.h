// Bounded text operations for the fixed-size fields; portable, no <windows.h>.
#pragma once
#include <stddef.h>

// Steps from one character to the start of the next, as CharNextA does: never past the
// terminator. Code-page-aware callers pass their own stepping; NextByte is single-byte text.
typedef const char *(*NextCharFn)(const char *p);
const char *NextByte(const char *p);

// Both return false when the text had to be cut; the result is always terminated (size > 0).
bool CopyText(char *dest, size_t size, const char *src);
bool AppendText(char *dest, size_t size, const char *src);

// Replaces every byte `from` by `to` up to the terminator.
void ReplaceChar(char *text, char from, char to);

// Formats `format` into `out` with exactly one text argument. The first "%s" takes `arg`,
// "%%" gives one "%", and every other directive (a second "%s" included) is copied as it
// stands, so a format that comes from outside can never read a second argument.
// Returns false when the result had to be cut to fit `size`.
bool FormatWithOneText(char *out, size_t size, const char *format, const char *arg);
