// How the private-profile functions read a file; see profile_reader.h.
#include "profile_reader.h"

static bool IsBlank(char16_t c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20;
}

static std::u16string Decode(const std::string &bytes, Encoding *encoding) {
    std::u16string units;
    size_t n = bytes.size();
    auto byte = [&](size_t i) { return (unsigned char)bytes[i]; };
    if (n >= 3 && byte(0) == 0xef && byte(1) == 0xbb && byte(2) == 0xbf) {
        *encoding = Encoding::kUtf8Bom; // read as ANSI, mark included: what Windows does
    } else if (n >= 2 &&
               ((byte(0) == 0xff && byte(1) == 0xfe) || (byte(0) == 0xfe && byte(1) == 0xff))) {
        bool little = byte(0) == 0xff;
        *encoding = little ? Encoding::kUtf16Le : Encoding::kUtf16Be;
        for (size_t i = 2; i + 1 < n; i += 2)
            units.push_back(little ? (char16_t)(byte(i) | byte(i + 1) << 8)
                                   : (char16_t)(byte(i) << 8 | byte(i + 1)));
        return units;
    } else {
        *encoding = Encoding::kAnsi;
    }
    for (size_t i = 0; i < n; i++)
        units.push_back(byte(i));
    return units;
}

ProfileFile ParseProfile(const std::string &bytes) {
    ProfileFile file;
    std::u16string u = Decode(bytes, &file.encoding);
    file.unitsAreBytes = file.encoding == Encoding::kAnsi || file.encoding == Encoding::kUtf8Bom;
    file.sections.emplace_back(); // lines before the first header
    const ProfileEntry *previous = nullptr;
    int lineNumber = 1;
    size_t i = 0;
    while (i < u.size()) {
        size_t lineStart = i;
        while (i < u.size() && u[i] != '\n' && u[i] != '\r')
            i++;
        size_t s = lineStart, e = i;
        int line = lineNumber;
        // A run of line ends: CR LF counts as one.
        while (i < u.size() && (u[i] == '\n' || u[i] == '\r')) {
            i += (u[i] == '\r' && i + 1 < u.size() && u[i + 1] == '\n') ? 2 : 1;
            lineNumber++;
        }
        while (s < e && IsBlank(u[s]))
            s++;
        while (e > s && IsBlank(u[e - 1]))
            e--;
        if (s >= e)
            continue;
        if (u[s] == '[') {
            size_t close = e;
            while (close > s && u[close - 1] != ']')
                close--;
            if (close > s) { // one past the last "]"; blanks inside the brackets go
                size_t from = s + 1, to = close - 1;
                while (from < to && IsBlank(u[from]))
                    from++;
                while (to > from && IsBlank(u[to - 1]))
                    to--;
                ProfileSection section;
                section.name = u.substr(from, to - from);
                section.line = line;
                file.sections.push_back(section);
                previous = nullptr;
                continue;
            }
        }
        ProfileEntry entry;
        entry.line = line;
        entry.column = (int)(s - lineStart) + 1;
        size_t equals = s;
        while (equals < e && u[equals] != '=')
            equals++;
        size_t nameEnd = e;
        if (equals < e) {
            nameEnd = equals;
            while (nameEnd > s && IsBlank(u[nameEnd - 1]))
                nameEnd--;
            size_t v = equals + 1;
            while (v < e && IsBlank(u[v]))
                v++;
            entry.value = u.substr(v, e - v);
            entry.hasValue = true;
            entry.valueColumn = (int)(v - lineStart) + 1;
        }
        entry.name = u.substr(s, nameEnd - s);
        // An empty name right after another empty name is dropped.
        if (entry.name.empty() && previous != nullptr &&
            (previous->name.empty() || previous->name[0] == 0))
            continue;
        file.sections.back().entries.push_back(entry);
        previous = &file.sections.back().entries.back();
    }
    return file;
}

std::u16string UpToNul(const std::u16string &text) {
    return text.substr(0, text.find(u'\0'));
}

// ASCII letters only: the library under Wine does not take a dotted capital I for "i".
static char16_t Lower(char16_t c) {
    return c >= 'A' && c <= 'Z' ? (char16_t)(c + 32) : c;
}

bool SameName(const std::u16string &stored, const char *query) {
    size_t i = 0;
    for (; query[i] != '\0'; i++) {
        if (i >= stored.size() || stored[i] == 0 ||
            Lower(stored[i]) != Lower((unsigned char)query[i]))
            return false;
    }
    return i == stored.size() || stored[i] == 0; // the name ends at its first NUL
}

const ProfileSection *FindSection(const ProfileFile &file, const char *section) {
    for (size_t i = 1; i < file.sections.size(); i++) {
        if (SameName(file.sections[i].name, section))
            return &file.sections[i];
    }
    return nullptr;
}

const ProfileEntry *FindEntry(const ProfileFile &file, const char *section, const char *key) {
    const ProfileSection *found = FindSection(file, section);
    if (found == nullptr)
        return nullptr;
    for (const ProfileEntry &entry : found->entries) {
        if (SameName(entry.name, key))
            return &entry;
    }
    return nullptr;
}

static std::u16string Widen(const char *text) {
    std::u16string wide;
    for (; *text != '\0'; text++)
        wide.push_back((unsigned char)*text);
    return wide;
}

std::u16string CopyEntry(const std::u16string &raw, uint32_t size) {
    std::u16string v = UpToNul(raw);
    bool quoted = v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
    if (quoted)
        v.erase(0, 1);
    std::u16string copied = v.substr(0, size > 0 ? size - 1 : 0);
    if (quoted && size >= v.size() && !copied.empty())
        copied.pop_back();
    return copied;
}

static const ProfileEntry *ValueEntry(const ProfileFile &file, const char *section,
                                      const char *key) {
    const ProfileEntry *entry = FindEntry(file, section, key);
    return entry != nullptr && entry->hasValue ? entry : nullptr;
}

// Code page 1252's characters at 0x80 to 0x9f; 0 marks the bytes that map to themselves.
static const char16_t kCp1252High[32] = {
    0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178};

static int AnsiByte(char16_t c) {
    if (c < 0x80 || (c >= 0xa0 && c <= 0xff))
        return c;
    for (int i = 0; i < 32; i++) {
        if (kCp1252High[i] == c || (kCp1252High[i] == 0 && c == 0x80 + i))
            return 0x80 + i;
    }
    return -1;
}

char16_t AnsiToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xa0 && kCp1252High[byte - 0x80] != 0)
        return kCp1252High[byte - 0x80];
    return byte;
}

std::string ToAnsi(const ProfileFile &file, const std::u16string &text) {
    std::string out;
    for (char16_t c : text) {
        int b = file.unitsAreBytes ? (int)c : AnsiByte(c);
        out.push_back(b < 0 ? '?' : (char)b);
    }
    return out;
}

std::string ReadProfileText(const ProfileFile &file, const char *section, const char *key,
                            const char *fallback, uint32_t size) {
    const ProfileEntry *entry = ValueEntry(file, section, key);
    std::u16string value = entry != nullptr ? entry->value : Widen(fallback);
    return ToAnsi(file, CopyEntry(value, size));
}

uint32_t LeadingNumber(const std::u16string &text, bool *digits, size_t *end) {
    size_t i = 0;
    while (i < text.size() && text[i] <= ' ')
        i++;
    bool minus = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        minus = text[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        char16_t mark = text[i + 1];
        base = mark == 'b' ? 2 : mark == 'o' ? 8 : mark == 'x' ? 16 : 10;
        if (base != 10)
            i += 2;
    }
    uint32_t total = 0;
    *digits = false;
    for (; i < text.size(); i++) {
        char16_t c = text[i];
        uint32_t digit = c >= '0' && c <= '9'   ? c - '0'
                         : c >= 'a' && c <= 'z' ? c - 'a' + 10
                         : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                                : 99;
        if (digit >= base)
            break;
        total = total * base + digit;
        *digits = true;
    }
    *end = i;
    return minus ? 0u - total : total;
}

uint32_t ReadProfileInt(const ProfileFile &file, const char *section, const char *key,
                        int32_t fallback) {
    const ProfileEntry *entry = ValueEntry(file, section, key);
    std::u16string text = CopyEntry(entry != nullptr ? entry->value : u"", 30);
    if (text.empty())
        return (uint32_t)fallback;
    bool digits;
    size_t end;
    return LeadingNumber(text, &digits, &end);
}
