// How the private-profile functions read a file: the lines they see, the sections and keys
// they keep, and the text and integer a lookup gives. Wine's reading, the one we can run;
// on a UTF-8 byte-order mark it follows Windows, which does not skip the mark.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

enum class Encoding { kAnsi, kUtf8Bom, kUtf16Le, kUtf16Be };

// One "name=value" line (or a line without "=", which has no value). Texts are UTF-16 code
// units; for an ANSI file each unit is the byte itself.
struct ProfileEntry {
    std::u16string name;
    std::u16string value;
    bool hasValue = false;
    int line = 0;
    int column = 0;      // 1-based, in characters of the line: the name
    int valueColumn = 0; // and the value
};

struct ProfileSection {
    std::u16string name; // the first, nameless section holds the lines before any header
    int line = 0;
    std::vector<ProfileEntry> entries;
};

struct ProfileFile {
    Encoding encoding = Encoding::kAnsi;
    bool unitsAreBytes = true; // ANSI: units are the file's bytes
    std::vector<ProfileSection> sections;
};

// Reads the file's bytes as the profile functions do.
ProfileFile ParseProfile(const std::string &bytes);

// The text up to its first NUL, which is all a lookup or a copy sees.
std::u16string UpToNul(const std::u16string &text);

// Case-blind name equality as the lookup does it (the query is ASCII).
bool SameName(const std::u16string &stored, const char *query);

// The entry a lookup finds: the first section of that name, then its first key of that
// name, or null. A key without "=" is found too, and then gives the default.
const ProfileSection *FindSection(const ProfileFile &file, const char *section);
const ProfileEntry *FindEntry(const ProfileFile &file, const char *section, const char *key);

// A value as it is copied into a buffer of `size` characters: up to its first NUL, without
// the opening quote of a matching pair, cut to size - 1; the last character goes too when
// the size reaches the length with the closing quote (so a value at the edge loses one).
std::u16string CopyEntry(const std::u16string &raw, uint32_t size);

// What a text read of `size` bytes holds: surrounding quotes removed, cut to size - 1, in
// the ANSI code page (1252; characters outside it become "?").
std::string ReadProfileText(const ProfileFile &file, const char *section, const char *key,
                            const char *fallback, uint32_t size);

// The raw value as ANSI text, nothing cut (quotes kept): for messages.
std::string ToAnsi(const ProfileFile &file, const std::u16string &text);

// The integer read: the value read as text into 30 characters, then its leading number
// (blanks, a sign, a 0x / 0o / 0b base, digits; wrapping at 32 bits). An absent key or an
// empty text gives the default.
uint32_t ReadProfileInt(const ProfileFile &file, const char *section, const char *key,
                        int32_t fallback);

// The leading-number reading of a text alone; `end` gets the index after the last unit
// read, `digits` whether any digit was read.
uint32_t LeadingNumber(const std::u16string &text, bool *digits, size_t *end);

// The character a byte of code page 1252 stands for.
char16_t AnsiToUnicode(unsigned char byte);
