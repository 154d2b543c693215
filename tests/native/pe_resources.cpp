// PE headers, section mapping and the three-level resource directory (type, name, language).
#include "pe_resources.h"

namespace pe {

namespace {

struct Section {
    uint32_t rva, size, offset;
};

struct Reader {
    const std::vector<uint8_t> &file;
    std::vector<Section> sections;
    size_t root = 0, rootSize = 0; // file offset and size of the resource directory
    std::string *error;

    bool Has(size_t at, size_t size) const {
        return at <= file.size() && size <= file.size() - at;
    }
    uint32_t U16(size_t at) const {
        return uint32_t(file[at] | file[at + 1] << 8);
    }
    uint32_t U32(size_t at) const {
        return U16(at) | U16(at + 2) << 16;
    }
    bool Fail(const char *message) {
        *error = message;
        return false;
    }
    bool Map(uint32_t rva, uint32_t size, size_t *at) const {
        for (const Section &s : sections)
            if (rva >= s.rva && rva - s.rva <= s.size && size <= s.size - (rva - s.rva)) {
                *at = s.offset + (rva - s.rva);
                return Has(*at, size);
            }
        return false;
    }

    // One directory level: depth 0 holds the types, 1 the names, 2 the languages.
    bool Walk(uint32_t relative, int depth, Resource path, std::vector<Resource> *out) {
        size_t at = root + relative;
        if (relative >= rootSize || !Has(at, 16))
            return Fail("resource directory outside the section");
        size_t count = size_t(U16(at + 12)) + U16(at + 14);
        if (!Has(at + 16, count * 8))
            return Fail("resource directory entries cut short");
        for (size_t i = 0; i < count; ++i) {
            uint32_t name = U32(at + 16 + 8 * i), target = U32(at + 20 + 8 * i);
            Resource next = path;
            next.named = next.named || (depth < 2 && (name & 0x80000000u) != 0);
            (depth == 0 ? next.type : depth == 1 ? next.id : next.language) = name & 0x7FFFFFFFu;
            if ((depth < 2) != ((target & 0x80000000u) != 0))
                return Fail("resource directory deeper or shallower than three levels");
            if (depth < 2) {
                if (!Walk(target & 0x7FFFFFFFu, depth + 1, next, out))
                    return false;
                continue;
            }
            size_t data, entry = root + target;
            if (target >= rootSize || !Has(entry, 16))
                return Fail("resource data entry outside the directory");
            if (!Map(U32(entry), U32(entry + 4), &data))
                return Fail("resource data outside every section");
            next.data.assign(file.begin() + long(data), file.begin() + long(data + U32(entry + 4)));
            out->push_back(std::move(next));
        }
        return true;
    }
};

} // namespace

bool ReadResources(const std::vector<uint8_t> &file, std::vector<Resource> *out,
                   std::string *error) {
    Reader r{file, {}, 0, 0, error};
    out->clear();
    if (!r.Has(0, 64) || file[0] != 'M' || file[1] != 'Z')
        return r.Fail("no MZ header");
    size_t pe = r.U32(0x3C);
    if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550u)
        return r.Fail("no PE signature");
    size_t sectionCount = r.U16(pe + 6), optional = pe + 24, optionalSize = r.U16(pe + 20);
    if (!r.Has(optional, optionalSize) || optionalSize < 2)
        return r.Fail("optional header cut short");
    uint32_t magic = r.U16(optional);
    if (magic != 0x10B && magic != 0x20B)
        return r.Fail("unknown optional header magic");
    size_t directories = optional + (magic == 0x20B ? 112 : 96); // PE32+ or PE32
    if (directories + 24 > optional + optionalSize || r.U32(directories - 4) < 3)
        return r.Fail("no resource data directory");
    uint32_t rva = r.U32(directories + 16);
    r.rootSize = r.U32(directories + 20);
    size_t table = optional + optionalSize;
    if (!r.Has(table, sectionCount * 40))
        return r.Fail("section table cut short");
    for (size_t s = table; s < table + sectionCount * 40; s += 40) {
        uint32_t virtualSize = r.U32(s + 8), rawSize = r.U32(s + 16);
        r.sections.push_back(
            {r.U32(s + 12), virtualSize < rawSize ? virtualSize : rawSize, r.U32(s + 20)});
    }
    if (rva == 0 || r.rootSize == 0)
        return true; // no resources at all
    if (!r.Map(rva, uint32_t(r.rootSize), &r.root))
        return r.Fail("resource directory outside every section");
    return r.Walk(0, 0, Resource{}, out);
}

} // namespace pe
