// Fuzzes the command template rewrite by its properties: the input is the template (up to
// its first zero), rewritten in a buffer of exactly its size so any write past it is caught.
// Behind the zero comes an address: each '"' and byte below 0x20 of it encoded as %XX, and
// formatted into the rewritten template, the command never holds a '"' from the address.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "browser/browser_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    char *before = strndup((const char *)data, size);
    char *after = strdup(before);
    const bool rewritten = RewriteCommandTemplate(after);
    const char *placeholder = strstr(before, "%1");
    const char *marker = strstr(before, "-nohome");
    const size_t length = strlen(before);
    if (placeholder != NULL) {
        // Length kept, and the "1" of the first "%1" is the one byte that changed.
        const size_t at = (size_t)(placeholder - before) + 1;
        FUZZ_CHECK(rewritten && strlen(after) == length && after[at] == 's' &&
                   memcmp(after, before, at) == 0 && strcmp(after + at + 1, before + at + 1) == 0);
    } else if (marker != NULL) {
        // Everything before the first marker kept, then "%s" and the end.
        const size_t at = (size_t)(marker - before);
        FUZZ_CHECK(rewritten && memcmp(after, before, at) == 0 && strcmp(after + at, "%s") == 0);
    } else {
        FUZZ_CHECK(!rewritten && strcmp(after, before) == 0);
    }
    const size_t rest = strlen(before) + 1 < size ? strlen(before) + 1 : size;
    std::string url = std::string((const char *)data + rest, size - rest).c_str();
    ExactBuffer encoded(3 * url.size() + 1);
    memcpy(encoded.bytes, url.c_str(), url.size() + 1);
    FUZZ_CHECK(EncodeArgumentBreakers(encoded.bytes, 3 * url.size() + 1));
    std::string expected;
    for (unsigned char c : url)
        expected += c == '"' || c < 0x20 ? "%" + std::string(1, "0123456789ABCDEF"[c >> 4]) +
                                               "0123456789ABCDEF"[c & 15]
                                         : std::string(1, (char)c);
    FUZZ_CHECK(expected == encoded.bytes);
    if (expected != url) { // a byte short of the encoded text: refused, the text as it was
        ExactBuffer tight(expected.size());
        memcpy(tight.bytes, url.c_str(), url.size() + 1);
        FUZZ_CHECK(!EncodeArgumentBreakers(tight.bytes, expected.size()) && url == tight.bytes);
    }
    std::string command(kFormattedCommandLimit, '\0');
    FormatCommand(&command[0], command.size(), after, encoded.bytes);
    FUZZ_CHECK(std::count(command.begin(), command.end(), '"') <=
               std::count(after, after + strlen(after), '"'));
    free(before);
    free(after);
    return 0;
}
