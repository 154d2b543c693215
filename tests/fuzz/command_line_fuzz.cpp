// Fuzzes the portal client's command line: whole or nothing, never past its buffer.
#include <string.h>

#include "fuzz_input.h"
#include "portal/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length) {
    FuzzInput in(data, length, 2048, 3);
    const std::string &client = in.texts[0], &directory = in.texts[1], &game = in.texts[2];
    ExactBuffer out(in.size);
    bool built =
        BuildClientCommandLine(out.bytes, in.size, client.c_str(), directory.c_str(), game.c_str());
    std::string whole =
        "\"" + client + "\" --ini=\"" + directory + "\\launch.ini\" --cmdline=" + game;
    FUZZ_CHECK(built == (whole.size() < in.size));
    FUZZ_CHECK(strcmp(out.bytes, built ? whole.c_str() : "") == 0);
    return 0;
}
