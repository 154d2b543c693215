// Fuzzes the information address: a base address and a game name, into the field's size.
#include <string.h>

#include "fuzz_input.h"
#include "common/text.h"
#include "profile/info_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length) {
    FuzzInput in(data, length, 600, 2);
    const std::string &base = in.texts[0], &name = in.texts[1];
    ExactBuffer url(in.size);
    bool baseFits = CopyText(url.bytes, in.size, base.c_str());
    bool complete = BuildInfoUrl(url.bytes, in.size, name.c_str());
    std::string whole = base + "?src=LumoraInterstitial&GameName=" + name;
    FUZZ_CHECK(complete == (baseFits && whole.size() < in.size));
    FUZZ_CHECK(strlen(url.bytes) == (complete ? whole.size() : in.size - 1));
    FUZZ_CHECK(strpbrk(url.bytes, " ~") == NULL);
    return 0;
}
