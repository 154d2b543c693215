// The DLL's resources as Windows reads them: loaded as a data file, every resource once, in
// English (United States); the pictures and the cursor are the committed art byte for byte,
// the dialog template's fixed fields, the string table and the version block as the system
// reports them.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "win_test_util.h"
#include "zi_config.h"

namespace {

std::string ResourceBytes(HMODULE dll, LPCSTR type, int id) {
    HRSRC found = FindResourceExA(dll, type, MAKEINTRESOURCEA(id), 0x0409);
    if (found == NULL)
        return "<missing>";
    return std::string((const char *)LockResource(LoadResource(dll, found)),
                       SizeofResource(dll, found));
}

std::string Art(const char *name, size_t skip = 0) {
    return ReadFileBytes(std::string(ZI_SOURCE_DIR) + "/res/art/" + name).substr(skip);
}

// The little-endian 16-bit units of a text literal, with the terminator.
#define UTF16Z(text) std::string((const char *)u"" text, sizeof u"" text)

// Every resource's type and id, each of which must come in English (United States) alone.
std::set<std::pair<uintptr_t, uintptr_t>> g_found;
BOOL CALLBACK EachLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR) {
    EXPECT_EQ(0x0409, language);
    return g_found.insert({(uintptr_t)type, (uintptr_t)name}).second; // a second: a failure
}
BOOL CALLBACK EachName(HMODULE dll, LPCSTR type, LPSTR name, LONG_PTR) {
    EXPECT_TRUE(EnumResourceLanguagesA(dll, type, name, EachLanguage, 0));
    return TRUE;
}
BOOL CALLBACK EachType(HMODULE dll, LPSTR type, LONG_PTR) {
    return EnumResourceNamesA(dll, type, EachName, 0);
}

TEST(Resources, EachIsTheArtOrTheLayoutItMustBe) {
    HMODULE dll = LoadLibraryExA((BinFolder() + "ZelInterstitial.dll").c_str(), NULL,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE((HMODULE)NULL, dll);
    // Version, signature, help id, extended style, style, no items, x, y, cx, cy, no menu
    // and no class; after the title, the font's size, weight, italic flag and character set.
    const uint16_t dialog[] = {1, 0xFFFF, 0, 0,   0x0004, 0x0001, 0x0E42, 0x90C0,
                               0, 0,      0, 181, 131,    0,      0};
    struct Row {
        LPCSTR type;
        int id;
        std::string bytes;
    } rows[] = {
        {RT_BITMAP, 115, Art("background_24.bmp", 14)},
        {RT_BITMAP, 118, Art("exit_overlay_24.bmp", 14)},
        {RT_BITMAP, 123, Art("background_8.bmp", 14)},
        {RT_BITMAP, 124, Art("exit_overlay_8.bmp", 14)},
        {RT_CURSOR, 1, Art("hand_cursor_image.bin")},
        {RT_GROUP_CURSOR, 108, Art("hand_cursor_group.bin")},
        {RT_DIALOG, 104,
         std::string((const char *)dialog, sizeof dialog) + UTF16Z("Game Dialog") +
             std::string("\x0a\0\0\0\0\x01", 6) + UTF16Z("Verdana Ref")},
    };
    // Exactly these, plus the string block and the version: each once, in one language.
    std::set<std::pair<uintptr_t, uintptr_t>> expected = {{(uintptr_t)RT_STRING, 1},
                                                          {(uintptr_t)RT_VERSION, 1}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_TRUE(row.bytes == ResourceBytes(dll, row.type, row.id));
        expected.insert({(uintptr_t)row.type, (uintptr_t)row.id});
    }
    g_found.clear();
    EnumResourceTypesA(dll, EachType, 0);
    EXPECT_TRUE(expected == g_found) << g_found.size() << " resources";

    const char *strings[] = {"",
                             "http://" ZI_PORTAL_HOME_HOST "/lumorainterstitial/index.html",
                             "Get more games from",
                             "Tamsel games!",
                             " ",
                             "- Action && Racing",
                             "- Card && Casino",
                             "- Puzzle && Board",
                             "- Strategy && Sim",
                             "- New games monthly",
                             " ",
                             " ",
                             "Error Launching Game",
                             "Cannot read game profile file.\n\n    File name: '%s'",
                             "",
                             ""};
    for (int id = 0; id < 16; id++) {
        char text[256] = "";
        LoadStringA(dll, id, text, sizeof text);
        EXPECT_STREQ(strings[id], text) << "string " << id;
    }
    FreeLibrary(dll);
}

TEST(Resources, TheVersionBlockReadsAsAFilesPropertiesDo) {
    std::string path = BinFolder() + "ZelInterstitial.dll";
    std::string block(GetFileVersionInfoSizeA(path.c_str(), NULL), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, block.size(), &block[0]));
    auto value = [&block](const std::string &what, bool text) {
        void *data = NULL;
        UINT size = 0;
        if (!VerQueryValueA(block.data(), what.c_str(), &data, &size) || data == NULL)
            return std::string("<missing>");
        // A text's size counts characters; the others' bytes.
        return text ? std::string((const char *)data) : std::string((const char *)data, size);
    };
    const uint32_t fixed[] = {0xFEEF04BD, 0x00010000, 0x00010000, 0x00010006, 0x00010000,
                              0x00010006, 0x3F,       0,          0x00040004, 2,
                              0,          0,          0};
    EXPECT_EQ(std::string((const char *)fixed, sizeof fixed), value("\\", false));
    EXPECT_EQ(std::string("\x09\x04\xB0\x04", 4), value("\\VarFileInfo\\Translation", false));
    const std::pair<const char *, const char *> texts[] = {
        {"FileDescription", "ZelInterstitial"},
        {"FileVersion", "1, 0, 1, 6"},
        {"InternalName", "ZelInterstitial"},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "ZelInterstitial.dll"},
        {"PrivateBuild", ""},
        {"ProductVersion", "1, 0, 1, 6"},
        {"SpecialBuild", ""}};
    for (const auto &[name, text] : texts)
        EXPECT_EQ(text, value(std::string("\\StringFileInfo\\040904b0\\") + name, true)) << name;
}

} // namespace
