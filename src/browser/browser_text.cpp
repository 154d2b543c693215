// The browser launcher's text work: search, scheme split, file rule, template rewrite and
// command formatting.
#include "browser_text.h"

#include <string.h>

namespace {

const char kSchemeSeparator[] = "://";
const char kFileScheme[] = "file://";
static_assert(sizeof kFileScheme - 1 == kFileSchemeLength, "the scheme's length");

// One character step as the search takes it: where `next` says the next character starts,
// or one byte on when it stays put (CharNextA does so only on the terminator). The end of
// the text bounds it, so a stepping that ran past the terminator could not lead the
// search out of the text.
const char *Step(const char *at, const char *end, NextCharFn next) {
    const char *to = next(at);
    if (to <= at)
        to = at + 1;
    return to < end ? to : end;
}

} // namespace

ptrdiff_t DbcsFind(const char *text, const char *pattern, bool dbcs, NextCharFn next) {
    if (!dbcs) {
        const char *found = strstr(text, pattern);
        return found != NULL ? found - text : -1;
    }
    const size_t n = strlen(pattern);
    const char *end = text + strlen(text);
    for (const char *p = text; *p != '\0'; p = Step(p, end, next)) {
        // strncmp stops at the text's terminator, so a match never reads past the text.
        if (strncmp(p, pattern, n) != 0)
            continue;
        const char *q = p;
        while (q < p + n)
            q = Step(q, end, next);
        if (q == p + n)
            return p - text;
    }
    return -1;
}

size_t SchemeLength(const char *url, bool dbcs, NextCharFn next) {
    ptrdiff_t separator = DbcsFind(url, kSchemeSeparator, dbcs, next);
    return separator >= 0 ? (size_t)separator + strlen(kSchemeSeparator) : 0;
}

bool IsFileScheme(const char *loweredScheme) {
    return strcmp(loweredScheme, kFileScheme) == 0;
}

bool ApplyShortPath(char *urlCopy, size_t size, const char *shortPath, bool dbcs, NextCharFn next) {
    if (shortPath[0] == '\0')
        return true; // nothing was written: the path stays as given
    // The first occurrence over the whole URL copy, as the search finds it; for a path that
    // also occurs inside "file://" itself ("e", "le") that earlier occurrence is the one.
    const char *path = urlCopy + kFileSchemeLength;
    ptrdiff_t found = DbcsFind(urlCopy, path, dbcs, next);
    if (found < 0)
        return true;
    const size_t at = (size_t)found;
    const size_t pathLength = strlen(path);
    const size_t shortLength = strlen(shortPath);
    // The path is the copy's tail, so what follows the occurrence ends at the terminator.
    const size_t tailLength = strlen(urlCopy + at + pathLength);
    if (at + shortLength + tailLength >= size)
        return false;
    memmove(urlCopy + at + shortLength, urlCopy + at + pathLength, tailLength + 1);
    memcpy(urlCopy + at, shortPath, shortLength);
    return true;
}

bool EncodeArgumentBreakers(char *url, size_t size) {
    size_t length = 0, breakers = 0;
    for (; url[length] != '\0'; length++)
        breakers += url[length] == '"' || (unsigned char)url[length] < 0x20;
    if (length + 2 * breakers >= size)
        return false;
    // From the end, so that each byte moves once and before anything overwrites it.
    for (size_t from = length + 1, to = length + 2 * breakers + 1; from > 0;) {
        const unsigned char c = (unsigned char)url[--from];
        if (c != '\0' && (c == '"' || c < 0x20)) {
            url[--to] = "0123456789ABCDEF"[c & 15];
            url[--to] = "0123456789ABCDEF"[c >> 4];
            url[--to] = '%';
        } else {
            url[--to] = (char)c;
        }
    }
    return true;
}

bool RewriteCommandTemplate(char *commandTemplate) {
    if (char *placeholder = strstr(commandTemplate, "%1")) {
        placeholder[1] = 's'; // same length; quotes around the placeholder stay
        return true;
    }
    if (char *marker = strstr(commandTemplate, "-nohome")) {
        // "%s" and a terminator inside the 7 bytes of the marker: the marker and every
        // switch behind it give way to the URL.
        marker[0] = '%';
        marker[1] = 's';
        marker[2] = '\0';
        return true;
    }
    return false;
}

void FormatCommand(char *out, size_t size, const char *commandTemplate, const char *url) {
    FormatWithOneText(out, size < kFormattedCommandLimit ? size : kFormattedCommandLimit,
                      commandTemplate, url);
}
