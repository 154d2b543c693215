// The two readers of launch.ini kept together: for a deterministic set of generated profiles
// and for the corpus, `zellint --values` gives exactly what LoadProfile loads into
// CInterstitial. Files with a UTF-8 byte-order mark are left out: there zellint follows
// Windows, which does not skip the mark, while Wine (where this runs) skips it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "entry/interstitial.h"
#include "json.h"
#include "profile/profile_keys.h"
#include "profile_reader.h"
#include "win_test_util.h"
#include "zellint.h"

namespace {

// The library's ANSI text as UTF-8 through Windows' own code page 1252, not zellint's table.
std::string Utf8(const char *ansi) {
    wchar_t wide[600];
    char utf8[1800];
    int n = MultiByteToWideChar(1252, 0, ansi, -1, wide, 600);
    return WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, NULL, NULL) ? utf8 : "?";
}

// What the library holds after loading `name` (beside this program), as --values prints it.
std::string LoadedValues(const std::string &name) {
    std::vector<char> buffer(name.begin(), name.end() + 1);
    if (g_Interstitial.LoadProfile(buffer.data()) != 1)
        return "null\n";
    CInterstitial &g = g_Interstitial;
    const void *fields[] = {g.m_szGameName,          &g.m_nGameNameFontSize, g.m_szLogoUrl,
                            g.m_szLaunchSound,       g.m_szExitSound,        g.m_szFullVersion,
                            g.m_szPortalRecord,      g.m_szPlayButtonLabel,  g.m_szExitButtonLabel,
                            &g.m_nUpsellWidth,       g.m_szUpsellGraphic,    &g.m_nUpsellFontSize,
                            g.m_szUpsellButtonLabel, g.m_szUpsellUrl};
    std::string out = "{";
    for (size_t i = 0; i < kProfileKeyCount; i++) {
        const void *field = i < 14 ? fields[i] : g.m_szUpsellLines[i - 14];
        out += std::string(i > 0 ? ",\n  " : "\n  ") + "\"" + kProfileKeys[i].name + "\": ";
        out += kProfileKeys[i].kind == kProfileInteger ? std::to_string(*(const uint32_t *)field)
                                                       : JsonString(Utf8((const char *)field));
    }
    return out + "\n}\n";
}

struct Random {
    uint32_t state;
    uint32_t Below(uint32_t n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    }
    template <size_t N> const char *Pick(const char *const (&items)[N]) {
        return items[Below(N)];
    }
};

std::string MixCase(Random &r, std::string text) {
    for (char &c : text)
        c = r.Below(4) == 0 ? (char)(isupper((unsigned char)c) ? tolower(c) : toupper(c)) : c;
    return text;
}

// A profile of cases, blanks, quotes, duplicates, long values, numbers with junk, comments,
// lines without "=", stray sections, NUL and high bytes, three line ends and four encodings.
std::string Generate(Random &r) {
    const char *const sections[] = {"Main", "Action", "Upsell", "Main", "Upsell", " Main", "Extra"};
    std::vector<std::string> values; // "|" apart
    std::string list =
        "Star Duel|\"Quoted\"|'single'|\"half|12abc|-3|0x1F|0X10|0b101| +7|"
        "99999999999|\"42\"||Deep Space~Rescue|Yes|true|a\tb\x1a|ends\"|caf\xe9 \x80\x81\x8d|"
        "\"\"|'|000000000000000000000000000000000012|na\xefve \x9f\xa0\xab\xff";
    for (size_t at = 0, bar; at <= list.size(); at = bar + 1)
        values.push_back(list.substr(at, (bar = std::min(list.find('|', at), list.size())) - at));
    const char *const blanks[] = {"", "", " ", "\t", "  \x0b"};
    const char *const ends[] = {"\r\n", "\r\n", "\n", "\r"};
    std::string text;
    for (int line = 0, lines = 4 + (int)r.Below(30); line < lines; line++) {
        const ProfileKey &key = kProfileKeys[r.Below(kProfileKeyCount)];
        std::string name = MixCase(r, key.name);
        const uint32_t edges[] = {29, 31, 63, 127, 259, 511, 600};
        std::string run(edges[r.Below(7)] + r.Below(4), (char)('a' + r.Below(26)));
        std::string number = std::to_string((int32_t)r.Below(1u << 31) - (1 << 30));
        std::string value = r.Below(5) == 0   ? (r.Below(2) ? "\"" + run + "\"" : run)
                            : r.Below(4) == 0 ? number + values[r.Below((uint32_t)values.size())]
                                              : values[r.Below((uint32_t)values.size())];
        uint32_t kind = r.Below(12);
        std::string section = "[" + MixCase(r, r.Pick(sections)) + "]";
        text += kind < 2    ? section
                : kind == 2 ? ";" + name + "=comment"
                : kind == 3 ? name
                            : r.Pick(blanks) + name + r.Pick(blanks) + "=" + r.Pick(blanks) +
                                  value + r.Pick(blanks);
        text += r.Pick(ends);
    }
    if (r.Below(8) == 0)
        text.insert(r.Below((uint32_t)text.size()), 1, '\0');
    if (r.Below(25) == 0)
        text.resize(r.Below(12)); // at or around the 10 bytes of a missing profile
    uint32_t encoding = r.Below(20);
    if (encoding >= 4)
        return text;
    if (encoding == 0)
        return "\xef\xbb\xbf" + text;
    bool little = encoding != 1;
    std::string bytes = little ? "\xff\xfe" : "\xfe\xff";
    for (char c : text) {
        char16_t wide = r.Below(40) == 0 ? u'\u661f' : AnsiToUnicode((unsigned char)c);
        bytes += (char)(little ? wide & 0xff : wide >> 8);
        bytes += (char)(little ? wide >> 8 : wide & 0xff);
    }
    return bytes;
}

TEST(ProfileDiff, ZellintValuesEqualWhatTheLibraryLoads) {
    std::vector<std::pair<std::string, std::string>> cases; // name, bytes
    Random random{20261206};
    for (int i = 0; i < 240; i++)
        cases.emplace_back("generated " + std::to_string(i), Generate(random));
    for (const auto &file : std::filesystem::directory_iterator(ZELLINT_CORPUS))
        if (file.path().extension() == ".ini")
            cases.emplace_back(file.path().filename().string(),
                               ReadFileBytes(file.path().string()));

    int compared = 0, failures = 0;
    for (size_t i = 0; i < cases.size() && failures < 5; i++) {
        const std::string &bytes = cases[i].second;
        if (bytes.compare(0, 3, "\xef\xbb\xbf") == 0)
            continue; // Windows and Wine differ here (see the top of this file)
        std::string name = "zi-diff-" + std::to_string(i) + ".ini"; // a new name: no cache
        ASSERT_TRUE(WriteFileBytes(BinFolder() + name, bytes));
        std::string values, err;
        RunZellint({"--values", BinFolder() + name}, &values, &err);
        std::string loaded = LoadedValues(name);
        DeleteFileA((BinFolder() + name).c_str());
        compared++;
        if (values != loaded) {
            failures++;
            ADD_FAILURE() << cases[i].first << ": " << JsonString(AnsiToUtf8(bytes))
                          << "\nzellint: " << values << "library: " << loaded;
        }
    }
    EXPECT_GE(compared, 200);
}

} // namespace
