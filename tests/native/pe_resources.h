// A small reader of the resource section of a PE32 or PE32+ file, for checking built DLLs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pe {

struct Resource {
    // Numeric type, name and language; a name given as a string instead is kept in *Name.
    uint32_t type = 0;
    uint32_t id = 0;
    uint32_t language = 0;
    std::string typeName; // empty when the type is numeric
    std::string idName;   // empty when the name is numeric
    std::vector<uint8_t> data;
};

struct Module {
    uint16_t machine = 0; // 0x014C i386, 0x8664 x86-64
    bool pe32Plus = false;
    std::vector<Resource> resources; // in directory order
};

// Reads every resource of the file's resource directory. Returns false and says why in *error
// when the file is not a PE image or the directory points outside the file.
bool ReadModule(const std::vector<uint8_t> &file, Module *module, std::string *error);

// The resource of that numeric type and name, whatever its language; null when absent.
const Resource *Find(const Module &module, uint32_t type, uint32_t id);

} // namespace pe
