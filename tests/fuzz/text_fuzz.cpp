// Fuzzes the bounded text operations: copy, append, replace and the one-text format, each
// into a buffer of the size the input picks.
#include <string.h>

#include "common/text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length) {
    FuzzInput in(data, length, 300, 3);
    const std::string &a = in.texts[0], &b = in.texts[1], &format = in.texts[2];
    ExactBuffer dest(in.size);

    bool copied = CopyText(dest.bytes, in.size, a.c_str());
    size_t used = strlen(dest.bytes);
    FUZZ_CHECK(copied == (a.size() < in.size) && used == (copied ? a.size() : in.size - 1));
    FUZZ_CHECK(memcmp(dest.bytes, a.data(), used) == 0);

    bool appended = AppendText(dest.bytes, in.size, b.c_str());
    FUZZ_CHECK(appended == (used + b.size() < in.size));
    FUZZ_CHECK(strlen(dest.bytes) == (appended ? used + b.size() : in.size - 1));

    if (!a.empty() && !b.empty()) {
        ReplaceChar(dest.bytes, a[0], b[0]);
        FUZZ_CHECK(a[0] == b[0] || strchr(dest.bytes, a[0]) == NULL);
    }

    ExactBuffer unterminated(in.size); // a field without its terminator is ended, not read past
    FUZZ_CHECK(!AppendText(unterminated.bytes, in.size, a.c_str()));
    FUZZ_CHECK(unterminated.bytes[in.size - 1] == '\0');

    ExactBuffer out(in.size);
    bool formatted = FormatWithOneText(out.bytes, in.size, format.c_str(), a.c_str());
    FUZZ_CHECK(strlen(out.bytes) < in.size);
    if (format.find('%') == std::string::npos)
        FUZZ_CHECK(formatted == (format.size() < in.size) &&
                   format.compare(0, strlen(out.bytes), out.bytes) == 0);
    return 0;
}
