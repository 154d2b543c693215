// Fuzzes the command formatting by its properties. The input is a size byte, then three
// zero-separated texts P, Q and the URL; the template is P with its percent signs doubled,
// "%s", then Q (its percent signs doubled too when it holds "%%"), which must format as
// P, the URL as it stands, then Q, cut to the size. Buffers are allocated exactly so that
// the sanitizer sees any access past them.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "browser/browser_text.h"

namespace {

std::string Escaped(const std::string &text) {
    std::string out;
    for (char c : text)
        out += c == '%' ? "%%" : std::string(1, c);
    return out;
}

std::string Format(const std::string &commandTemplate, const std::string &url, size_t size) {
    char *out = (char *)malloc(size);
    char *copy = strdup(commandTemplate.c_str());
    FormatCommand(out, size, copy, url.c_str());
    std::string got = out;
    free(out);
    free(copy);
    return got;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const size_t cut = data[0] % 8 == 0 ? 1 + data[0] : kFormattedCommandLimit + data[0] % 8;
    std::string texts[3];
    for (size_t k = 1, i = 0; k < size && i < 3; k++)
        data[k] == 0 ? (void)i++ : (void)(texts[i] += (char)data[k]);
    const std::string &p = texts[0], &q = texts[1], &url = texts[2];
    const size_t limit = (cut < kFormattedCommandLimit ? cut : kFormattedCommandLimit) - 1;
    const std::string tail = q.find("%%") == std::string::npos ? q : Escaped(q);
    if (Format(Escaped(p) + "%s" + tail, url, cut) != (p + url + q).substr(0, limit))
        abort();
    if (Format(Escaped(p), url, cut) != p.substr(0, limit)) // no directive: the URL unused
        abort();
    // Any template at all: never more than the cut, whatever directives it holds.
    if (Format(p, url, cut).size() > limit)
        abort();
    return 0;
}
