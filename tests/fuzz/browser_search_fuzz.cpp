// Fuzzes the code-page-aware search against a reference written over indexes. The first
// byte picks the stepping (bytes, code page 932, code page 936); the rest is the text, a
// zero byte, then the pattern.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "browser/browser_text.h"
#include "browser_code_pages.h"
#include "fuzz_input.h"

namespace {

// The first occurrence at a character start whose character steps end exactly at the
// match's end; -1 when there is none.
ptrdiff_t Reference(const std::string &text, const std::string &pattern, NextCharFn next) {
    if (text.empty())
        return -1;
    const char *base = text.c_str();
    for (size_t p = 0; p < text.size(); p = next(base + p) - base) {
        if (text.compare(p, pattern.size(), pattern) != 0)
            continue;
        size_t q = p;
        while (q < p + pattern.size())
            q = next(base + q) - base;
        if (q == p + pattern.size())
            return (ptrdiff_t)p;
    }
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const NextCharFn steppings[] = {NextByte, NextChar932, NextChar936};
    NextCharFn next = steppings[data[0] % 3];
    std::string rest((const char *)data + 1, size - 1);
    size_t split = rest.find('\0');
    std::string text = rest.substr(0, split);
    std::string pattern = split == std::string::npos ? std::string() : rest.substr(split + 1);
    pattern = pattern.substr(0, pattern.find('\0'));

    // Exact-size heap copies, so that the sanitizer sees any read past a terminator.
    char *textCopy = strdup(text.c_str());
    char *patternCopy = strdup(pattern.c_str());
    ptrdiff_t plain = DbcsFind(textCopy, patternCopy, false, next);
    ptrdiff_t dbcs = DbcsFind(textCopy, patternCopy, true, next);
    free(textCopy);
    free(patternCopy);

    size_t bytes = text.find(pattern);
    FUZZ_CHECK(plain == (bytes == std::string::npos ? -1 : (ptrdiff_t)bytes));
    FUZZ_CHECK(dbcs == Reference(text, pattern, next));
    return 0;
}
