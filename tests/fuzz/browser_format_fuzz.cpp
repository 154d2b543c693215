// Fuzzes the command formatting against a reference: the input is the template, a zero
// byte, then the URL. The command buffer has the launcher's size, the formatter's limit,
// allocated exactly so that the sanitizer sees any write past it.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "browser/browser_text.h"

namespace {

// The first "%s" takes the URL, "%%" gives "%", everything else is literal; then the cut.
std::string Reference(const std::string &format, const std::string &url, size_t size) {
    std::string out;
    bool used = false;
    for (size_t i = 0; i < format.size();) {
        if (format.compare(i, 2, "%%") == 0) {
            out += '%';
            i += 2;
        } else if (!used && format.compare(i, 2, "%s") == 0) {
            out += url;
            used = true;
            i += 2;
        } else {
            out += format[i++];
        }
    }
    size_t limit = (size < kFormattedCommandLimit ? size : kFormattedCommandLimit) - 1;
    return out.substr(0, limit);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string input((const char *)data, size);
    size_t split = input.find('\0');
    std::string format = input.substr(0, split);
    std::string url = split == std::string::npos ? std::string() : input.substr(split + 1);
    url = url.substr(0, url.find('\0'));

    const size_t commandSize = kFormattedCommandLimit;
    char *command = (char *)malloc(commandSize);
    FormatCommand(command, commandSize, format.c_str(), url.c_str());
    std::string got = command;
    free(command);
    if (got != Reference(format, url, commandSize))
        abort();

    // The launcher's own path: a template from the registry, rewritten, then formatted for
    // the first start and for the retry.
    char value[kBrowserBufferSize];
    CopyText(value, kRegistryReadLimit, format.c_str());
    if (RewriteCommandTemplate(value)) {
        char retry[kBrowserBufferSize];
        FormatCommand(retry, sizeof retry, value, "");
        if (retry != Reference(value, "", sizeof retry))
            abort();
    }
    return 0;
}
