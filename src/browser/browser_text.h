// The browser launcher's text work: the code-page-aware search, the scheme split, the file
// rule, the command template rewrite and the command formatting. Portable, no <windows.h>.
#pragma once
#include <stddef.h>

#include "../common/text.h"

// Sizes of the launcher's working buffers, in bytes including the terminator.
const size_t kBrowserBufferSize = 2048; // value, key-name and retry buffers
const size_t kRegistryReadLimit = 260;  // every registry read and the short path
// The most the platform's formatter writes, and so all the command buffer ever needs: the
// command is never longer than the URL copy plus the template, and is cut here.
const size_t kFormattedCommandLimit = 1024;

// The byte offset of the first occurrence of `pattern` in `text`, or -1.
// Without double-byte character sets (`dbcs` false) this is a plain byte search. With them,
// only character starts (as `next` steps) are candidates, and a match counts only when
// stepping through it character by character lands exactly on its end: a match ending in
// the lead byte of a character that runs on is no match, and the search goes on.
// An empty text has no occurrence in double-byte mode, not even of an empty pattern.
ptrdiff_t DbcsFind(const char *text, const char *pattern, bool dbcs, NextCharFn next);

// The length of the URL's scheme: everything up to and including its first "://" as
// DbcsFind finds it, or 0 when there is none.
size_t SchemeLength(const char *url, bool dbcs, NextCharFn next);

// True when the lower-cased scheme selects the file rule: exactly "file://".
bool IsFileScheme(const char *loweredScheme);

// The length of "file://": a URL copy that takes the file rule has its path behind it.
const size_t kFileSchemeLength = 7;

// The file rule, on a URL copy held in `size` bytes whose first kFileSchemeLength bytes
// are the file scheme. Replaces the first occurrence of the path (the text behind the
// scheme, found with DbcsFind over the whole copy) by `shortPath`, the text
// GetShortPathNameA wrote into a buffer that was emptied before the call. An empty
// `shortPath` means the call wrote nothing (no such file, an empty path, or a short form
// that does not fit 260 bytes): the URL copy then keeps the path as the caller gave it, so
// it never receives text the call did not write. Returns false, leaving the copy as it
// was, when the result would not fit `size`; a copy with kRegistryReadLimit bytes to spare
// always fits.
bool ApplyShortPath(char *urlCopy, size_t size, const char *shortPath, bool dbcs, NextCharFn next);

// Keeps the address one argument of the browser's command: each '"' (which would end a
// quoted argument, and the rest would become the browser's options) and each byte below 0x20
// becomes its %XX, which any browser reads as the same address; a valid URL never holds them
// raw, and every other byte stays. In place, in `size` bytes; returns false, leaving the text
// as it was, when the result would not fit. A double-byte character's bytes are never among
// them (its trail bytes are 0x40 and above), so the text stays valid in any code page.
bool EncodeArgumentBreakers(char *url, size_t size);

// The template rewrite, in place and by plain byte search: the "1" of the first "%1"
// becomes "s"; failing that, the first "-nohome" and everything behind it become "%s".
// Returns false, leaving the template as it was, when it holds neither.
bool RewriteCommandTemplate(char *commandTemplate);

// Formats the rewritten template into `out` (`size` bytes) with `url` as its one argument,
// as user32's formatter would, but never reading a second argument whatever the template
// holds: the first "%s" takes the URL as it stands (its own percent signs are not
// interpreted), "%%" gives "%", and every other directive is copied literally. The result
// is cut to 1024 bytes with its terminator, the most user32's formatter writes, or to
// `size` if that is smaller.
void FormatCommand(char *out, size_t size, const char *commandTemplate, const char *url);
