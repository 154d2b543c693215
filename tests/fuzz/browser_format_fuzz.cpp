// Fuzzes the command formatting by its properties. The input is a buffer size (two bytes,
// up to a little past the formatter's limit), then three zero-separated texts P, Q and the
// URL; the template is P with its percent signs doubled, "%s", then Q (its percent signs
// doubled too when it holds "%%"), which must format as P, the URL as it stands, then Q,
// cut to the size. Buffers are allocated exactly so that the sanitizer sees any access past
// them.
#include <string.h>

#include <string>

#include "browser/browser_text.h"
#include "fuzz_input.h"

namespace {

std::string Escaped(const std::string &text) {
    std::string out;
    for (char c : text)
        out += c == '%' ? "%%" : std::string(1, c);
    return out;
}

std::string Format(const std::string &commandTemplate, const std::string &url, size_t size) {
    ExactBuffer out(size);
    ExactBuffer copy(commandTemplate.size() + 1);
    memcpy(copy.bytes, commandTemplate.c_str(), commandTemplate.size() + 1);
    FormatCommand(out.bytes, size, copy.bytes, url.c_str());
    return out.bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length) {
    FuzzInput in(data, length, kFormattedCommandLimit + 8, 3);
    const std::string &p = in.texts[0], &q = in.texts[1], &url = in.texts[2];
    const size_t limit = (in.size < kFormattedCommandLimit ? in.size : kFormattedCommandLimit) - 1;
    const std::string tail = q.find("%%") == std::string::npos ? q : Escaped(q);
    FUZZ_CHECK(Format(Escaped(p) + "%s" + tail, url, in.size) == (p + url + q).substr(0, limit));
    // No directive: the URL unused.
    FUZZ_CHECK(Format(Escaped(p), url, in.size) == p.substr(0, limit));
    // Any template at all: never more than the cut, whatever directives it holds.
    FUZZ_CHECK(Format(p, url, in.size).size() <= limit);
    return 0;
}
