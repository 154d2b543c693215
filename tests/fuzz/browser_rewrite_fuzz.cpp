// Fuzzes the command template rewrite: the input is the template (up to its first zero).
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "browser/browser_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string before((const char *)data, size);
    before = before.substr(0, before.find('\0'));
    char *buffer = strdup(before.c_str());  // exact size: a write past it is caught
    bool rewritten = RewriteCommandTemplate(buffer);
    std::string after = buffer;
    free(buffer);

    std::string expected = before;
    size_t placeholder = before.find("%1");
    size_t marker = before.find("-nohome");
    if (placeholder != std::string::npos)
        expected[placeholder + 1] = 's';
    else if (marker != std::string::npos)
        expected = before.substr(0, marker) + "%s";
    bool expectRewrite = placeholder != std::string::npos || marker != std::string::npos;
    if (rewritten != expectRewrite || after != expected)
        abort();
    return 0;
}
