// A small reader of the resource section of a PE32 or PE32+ file, for checking built DLLs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pe {

struct Resource {
    uint32_t type = 0, id = 0, language = 0; // the numbers of the three directory levels
    bool named = false;                      // the type or the id is a string, not a number
    std::vector<uint8_t> data;
};

// Every resource of the file's resource directory, in directory order. Returns false and says
// why in *error when the file is not a PE image or the directory points outside the file.
bool ReadResources(const std::vector<uint8_t> &file, std::vector<Resource> *out,
                   std::string *error);

} // namespace pe
