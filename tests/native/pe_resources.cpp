// PE headers, section mapping and the three-level resource directory (type, name, language).
#include "pe_resources.h"

namespace pe {

namespace {

class Reader {
  public:
    explicit Reader(const std::vector<uint8_t> &file) : file_(file) {}

    bool Has(size_t offset, size_t size) const {
        return offset <= file_.size() && size <= file_.size() - offset;
    }
    uint16_t U16(size_t offset) const {
        return uint16_t(file_[offset] | (file_[offset + 1] << 8));
    }
    uint32_t U32(size_t offset) const {
        return uint32_t(U16(offset)) | uint32_t(U16(offset + 2)) << 16;
    }

  private:
    const std::vector<uint8_t> &file_;
};

struct Section {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

struct Context {
    const std::vector<uint8_t> &file;
    Reader r;
    std::vector<Section> sections;
    size_t directoryOffset; // file offset of the root resource directory
    size_t directorySize;
    std::string *error;

    bool RvaToOffset(uint32_t rva, uint32_t size, size_t *offset) const {
        for (const Section &s : sections) {
            uint32_t span = s.virtualSize > s.rawSize ? s.rawSize : s.virtualSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress <= span &&
                size <= span - (rva - s.virtualAddress)) {
                *offset = s.rawOffset + (rva - s.virtualAddress);
                return r.Has(*offset, size);
            }
        }
        return false;
    }

    bool Fail(const std::string &message) {
        *error = message;
        return false;
    }

    // A name string of the directory: a 16-bit length, then UTF-16 units (kept as bytes < 128).
    bool ReadName(uint32_t relative, std::string *name) {
        size_t at = directoryOffset + relative;
        if (relative >= directorySize || !r.Has(at, 2))
            return Fail("resource name outside the directory");
        uint16_t length = r.U16(at);
        if (!r.Has(at + 2, size_t(length) * 2))
            return Fail("resource name cut short");
        name->clear();
        for (uint16_t i = 0; i < length; ++i) {
            uint16_t unit = r.U16(at + 2 + 2 * size_t(i));
            name->push_back(unit < 128 ? char(unit) : '?');
        }
        return true;
    }

    // Walks one directory level; depth 0 is the types, 1 the names, 2 the languages.
    bool Walk(uint32_t relative, int depth, Resource current, std::vector<Resource> *out) {
        size_t at = directoryOffset + relative;
        if (relative >= directorySize || !r.Has(at, 16))
            return Fail("resource directory outside the section");
        size_t count = size_t(r.U16(at + 12)) + r.U16(at + 14);
        if (!r.Has(at + 16, count * 8))
            return Fail("resource directory entries cut short");
        for (size_t i = 0; i < count; ++i) {
            uint32_t name = r.U32(at + 16 + 8 * i), target = r.U32(at + 20 + 8 * i);
            Resource next = current;
            std::string text;
            if (name & 0x80000000u) {
                if (!ReadName(name & 0x7FFFFFFFu, &text))
                    return false;
            }
            uint32_t number = (name & 0x80000000u) ? 0 : name;
            if (depth == 0) {
                next.type = number;
                next.typeName = text;
            } else if (depth == 1) {
                next.id = number;
                next.idName = text;
            } else {
                next.language = number;
            }
            bool subdirectory = (target & 0x80000000u) != 0;
            if (depth < 2) {
                if (!subdirectory)
                    return Fail("resource data entry above the language level");
                if (!Walk(target & 0x7FFFFFFFu, depth + 1, next, out))
                    return false;
                continue;
            }
            if (subdirectory)
                return Fail("resource directory below the language level");
            size_t entry = directoryOffset + target;
            if (target >= directorySize || !r.Has(entry, 16))
                return Fail("resource data entry outside the directory");
            uint32_t rva = r.U32(entry), size = r.U32(entry + 4);
            size_t offset;
            if (!RvaToOffset(rva, size, &offset))
                return Fail("resource data outside every section");
            next.data.assign(file.begin() + long(offset), file.begin() + long(offset + size));
            out->push_back(std::move(next));
        }
        return true;
    }
};

} // namespace

bool ReadModule(const std::vector<uint8_t> &file, Module *module, std::string *error) {
    Reader r(file);
    if (!r.Has(0, 64) || file[0] != 'M' || file[1] != 'Z') {
        *error = "no MZ header";
        return false;
    }
    size_t pe = r.U32(0x3C);
    if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550u) {
        *error = "no PE signature";
        return false;
    }
    module->machine = r.U16(pe + 4);
    size_t sectionCount = r.U16(pe + 6), optionalSize = r.U16(pe + 20);
    size_t optional = pe + 24;
    if (!r.Has(optional, optionalSize) || optionalSize < 2) {
        *error = "optional header cut short";
        return false;
    }
    uint16_t magic = r.U16(optional);
    if (magic != 0x10B && magic != 0x20B) {
        *error = "unknown optional header magic";
        return false;
    }
    module->pe32Plus = magic == 0x20B;
    size_t countAt = optional + (module->pe32Plus ? 108 : 92);
    size_t directories = optional + (module->pe32Plus ? 112 : 96);
    if (countAt + 4 > optional + optionalSize || r.U32(countAt) < 3 ||
        directories + 3 * 8 > optional + optionalSize) {
        *error = "no resource data directory";
        return false;
    }
    uint32_t resourceRva = r.U32(directories + 2 * 8),
             resourceSize = r.U32(directories + 2 * 8 + 4);

    Context context{file, r, {}, 0, resourceSize, error};
    size_t table = optional + optionalSize;
    if (!r.Has(table, sectionCount * 40)) {
        *error = "section table cut short";
        return false;
    }
    for (size_t i = 0; i < sectionCount; ++i) {
        size_t s = table + 40 * i;
        context.sections.push_back(
            Section{r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
    }
    module->resources.clear();
    if (resourceRva == 0 || resourceSize == 0)
        return true; // no resources at all
    if (!context.RvaToOffset(resourceRva, resourceSize, &context.directoryOffset)) {
        *error = "resource directory outside every section";
        return false;
    }
    return context.Walk(0, 0, Resource{}, &module->resources);
}

const Resource *Find(const Module &module, uint32_t type, uint32_t id) {
    for (const Resource &res : module.resources)
        if (res.typeName.empty() && res.idName.empty() && res.type == type && res.id == id)
            return &res;
    return nullptr;
}

} // namespace pe
