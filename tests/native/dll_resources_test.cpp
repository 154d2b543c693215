// Reads the resources of a built ZelInterstitial.dll (PE32 product or PE32+ twin) back and
// checks them against their fixed layouts, and samples the pictures against the dialog layout.
//
//   dll_resources_test PATH_TO_DLL      (or ZI_DLL_PATH=PATH_TO_DLL dll_resources_test)
#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bmp.h"
#include "fileio.h"
#include "pe_resources.h"
#include "quantize.h"

namespace {

using Bytes = std::vector<uint8_t>;
std::vector<pe::Resource> g_resources;

constexpr uint32_t kRtCursor = 1, kRtBitmap = 2, kRtDialog = 5, kRtString = 6, kRtGroupCursor = 12,
                   kRtVersion = 16;

const Bytes &Data(uint32_t type, uint32_t id) {
    static const Bytes none;
    for (const pe::Resource &res : g_resources)
        if (!res.named && res.type == type && res.id == id)
            return res.data;
    ADD_FAILURE() << "resource type " << type << " id " << id << " missing";
    return none;
}

uint32_t U16(const Bytes &d, size_t at) {
    return art::ReadU16(&d[at]);
}

// The expected bytes of a fixed layout: little-endian values, each as wide (in bytes) as the
// digit at its place in `widths`.
Bytes Pack(const std::string &widths, std::initializer_list<uint32_t> values) {
    Bytes out;
    EXPECT_EQ(widths.size(), values.size()) << "a width for every value";
    for (size_t i = 0; i < values.size() && i < widths.size(); ++i)
        for (int k = 0; k < widths[i] - '0'; ++k)
            out.push_back(uint8_t(values.begin()[i] >> (8 * k)));
    return out;
}
Bytes Utf16z(const std::string &text) { // UTF-16 with its terminating zero
    Bytes out;
    for (char c : text + '\0')
        out.insert(out.end(), {uint8_t(c), 0});
    return out;
}
Bytes operator+(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Every resource once, numbered, in English (United States), of its size; the fixed fields of
// the tables byte for byte from `offset` (an empty table: content checked below).
TEST(DllResources, InventoryAndFixedLayouts) {
    auto bitmap = [](uint32_t width, uint32_t height, uint32_t bits) { // BITMAPINFOHEADER
        return Pack("44422444444", {40, width, height, 1, bits, 0, 0, 2834, 2834, 0, 0});
    };
    struct Row {
        uint32_t type, id;
        size_t size; // 0: variable
        size_t offset;
        Bytes expected;
    };
    const Row rows[] = {
        {kRtDialog, 104, 84, 0,
         Pack("224442222222", {1, 0xFFFF, 0, 0x00010004, 0x90C00E42, 0, 0, 0, 181, 131, 0, 0}) +
             Utf16z("Game Dialog") + Pack("2211", {10, 0, 0, 1}) + Utf16z("Verdana Ref")},
        {kRtGroupCursor, 108, 20, 0, Pack("222222242", {0, 2, 1, 32, 64, 1, 4, 748, 1})},
        // Hotspot, BITMAPINFOHEADER, then the VGA table with each entry written as 0x00RRGGBB.
        {kRtCursor, 1, 748, 0,
         Pack("2244422444444", {12, 1, 40, 32, 64, 1, 4, 0, 640, 0, 0, 0, 0}) +
             Pack("4444444444444444", {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF})},
        {kRtBitmap, 115, 40 + 540000, 0, bitmap(500, 360, 24)},
        {kRtBitmap, 118, 40 + 14136, 0, bitmap(124, 38, 24)},
        {kRtBitmap, 123, 40 + 1024 + 180000, 0, bitmap(500, 360, 8)},
        {kRtBitmap, 124, 40 + 1024 + 4712, 0, bitmap(124, 38, 8)},
        {kRtString, 1, 0, 0, {}},
        // After the root's length: its value length, type and key, then VS_FIXEDFILEINFO.
        {kRtVersion, 1, 0, 2,
         Pack("22", {52, 0}) + Utf16z("VS_VERSION_INFO") +
             Pack("24444444444444", {0, 0xFEEF04BD, 0x00010000, 0x00010000, 0x00010006, 0x00010000,
                                     0x00010006, 0x3F, 0, 0x00040004, 2, 0, 0, 0})},
    };
    // With each row present (Data reports a missing one), this also rules out a second entry.
    EXPECT_EQ(g_resources.size(), std::size(rows)) << "resources in the DLL";
    for (const pe::Resource &res : g_resources)
        EXPECT_TRUE(!res.named && res.language == 0x0409)
            << "type " << res.type << " id " << res.id
            << ": expected numbered, language 0x409, got " << (res.named ? "named, " : "")
            << "language 0x" << std::hex << res.language;
    for (const Row &row : rows) {
        const Bytes &d = Data(row.type, row.id);
        size_t end = row.offset + row.expected.size();
        if (row.size ? d.size() != row.size : d.size() < end) {
            ADD_FAILURE() << "type " << row.type << " id " << row.id << ": expected "
                          << (row.size ? "" : "at least ") << (row.size ? row.size : end)
                          << " bytes, got " << d.size();
            continue;
        }
        for (size_t i = row.offset; i < end; ++i)
            if (d[i] != row.expected[i - row.offset]) {
                ADD_FAILURE() << "type " << row.type << " id " << row.id << ", byte " << i
                              << ": expected 0x" << std::hex << int(row.expected[i - row.offset])
                              << ", got 0x" << int(d[i]);
                break;
            }
    }
}

// The hand: transparent pixels carry index 0; the rest span about x 5 to 23, y 1 to 29 in
// exactly black, navy, grey, silver, blue and white, with the hotspot on the finger tip.
TEST(DllResources, CursorHand) {
    const Bytes &d = Data(kRtCursor, 1);
    ASSERT_EQ(d.size(), 748u);
    auto colour = [&](int x, int y) { // rows bottom-up, after 108 bytes of hotspot/header/table
        return (d[108 + (31 - y) * 16 + x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
    };
    auto clear = [&](int x, int y) { return (d[620 + (31 - y) * 4 + x / 8] >> (7 - x % 8)) & 1; };
    int left = 32, right = -1, top = 32, bottom = -1;
    std::set<int> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (clear(x, y)) {
                EXPECT_EQ(colour(x, y), 0) << "transparent pixel (" << x << ", " << y << ")";
                continue;
            }
            used.insert(colour(x, y));
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_FALSE(clear(12, 1)) << "the hotspot (12, 1) must be on the finger tip";
    EXPECT_TRUE(std::abs(left - 5) <= 1 && top == 1 && std::abs(right - 23) <= 1 &&
                std::abs(bottom - 29) <= 1)
        << "expected the hand in about x 5 to 23, y 1 to 29, got x " << left << " to " << right
        << ", y " << top << " to " << bottom;
    EXPECT_EQ(used, (std::set<int>{0, 4, 7, 8, 12, 15})) << "colour indices of the hand";
}

// Each 8-bit picture has a 256-entry table of its own (zero reserved bytes) and stays close to
// its true-colour twin: a fixed table (a 6 x 6 x 6 cube gives about 24) cannot meet the bound.
TEST(DllResources, EightBitPicturesHaveOptimisedTablesOfTheirOwn) {
    const Bytes &background = Data(kRtBitmap, 123), &overlay = Data(kRtBitmap, 124);
    ASSERT_TRUE(background.size() > 1064 && overlay.size() > 1064);
    EXPECT_FALSE(std::equal(&background[40], &background[1064], &overlay[40]))
        << "bitmaps 123 and 124 carry the same table";
    for (auto [id8, id24] : {std::pair{123u, 115u}, {124u, 118u}}) {
        const Bytes &d = Data(kRtBitmap, id8);
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(d[40 + 4 * i + 3], 0) << "bitmap " << id8 << ", table entry " << i;
        art::IndexedImage reduced;
        art::Image source;
        std::string error;
        ASSERT_TRUE(art::DecodeDib8(d, &reduced, &error) &&
                    art::DecodeDib(Data(kRtBitmap, id24), &source, &error))
            << error;
        ASSERT_TRUE(reduced.width == source.width && reduced.height == source.height);
        EXPECT_LT(art::MeanColourError(source, reduced), 2.0)
            << "mean colour error of bitmap " << id8 << " against " << id24;
    }
}

// ---------------------------------------------------------------------------------------------
// Pixels against the layout: each row a region of a picture (both ends inclusive) and what
// every pixel in it must be; Varied asks for 8 or more colours in the region instead.
enum Kind { Flat, Art, Darker, Lighter, Varied };
const char *const kKindText[] = {"exactly ", "artwork, clearly unlike ", "darker than ",
                                 "lighter than ", "8 or more colours"};
struct Region {
    std::string what;
    int x0, y0, x1, y1;
    Kind kind;
    art::Rgb colour;
};

const art::Rgb kCanvas{69, 90, 111}, kFace{124, 148, 173}, kFrame{22, 28, 34},
    kWhite{255, 255, 255}, kDark{40, 40, 40}, kAny{};

std::string Str(art::Rgb c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

// Artwork differs from the plain colour under it by more than 25 (sum of channel differences):
// the closest blend of the black labels and the silver face comes to about 38.
bool Meets(Kind kind, art::Rgb c, art::Rgb plain) {
    int difference = std::abs(c.r - plain.r) + std::abs(c.g - plain.g) + std::abs(c.b - plain.b);
    int lighter = (c.r + c.g + c.b) - (plain.r + plain.g + plain.b);
    return kind == Flat     ? c == plain
           : kind == Art    ? difference > 25
           : kind == Darker ? lighter < 0
                            : kind != Lighter || lighter > 0;
}

void Check(const art::Image &image, const std::string &picture, const std::vector<Region> &rows) {
    for (const Region &row : rows) {
        std::set<uint32_t> colours;
        std::string got;
        for (int y = row.y0; y <= row.y1; ++y)
            for (int x = row.x0; x <= row.x1; ++x) {
                art::Rgb c = image.at(x, y);
                colours.insert(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
                if (got.empty() && !Meets(row.kind, c, row.colour))
                    got = Str(c) + " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        if (row.kind == Varied && colours.size() < 8)
            got = std::to_string(colours.size()) + " colours";
        if (!got.empty())
            ADD_FAILURE() << picture << ", " << row.what << ": expected " << kKindText[row.kind]
                          << (row.kind == Varied ? "" : Str(row.colour)) << ", got " << got;
    }
}

std::vector<Region> BackgroundRegions() {
    std::vector<Region> rows = {
        {"canvas, top margin", 0, 0, 499, 3, Flat, kCanvas},
        {"canvas, bottom margin", 0, 355, 499, 359, Flat, kCanvas},
        {"canvas, left margin", 0, 0, 3, 359, Flat, kCanvas},
        {"canvas, right margin", 499, 0, 499, 359, Flat, kCanvas},
        {"right area, game-name strip", 184, 9, 462, 40, Flat, kCanvas},
        {"right area, above the close mark", 463, 9, 494, 11, Flat, kCanvas},
        {"right area, upsell picture and text", 184, 41, 494, 305, Flat, kCanvas},
        {"recessed frame, top", 184, 4, 494, 8, Darker, kCanvas},
        {"recessed frame, left", 182, 9, 183, 349, Darker, kCanvas},
        {"recessed frame, right", 495, 9, 498, 349, Lighter, kCanvas},
        {"recessed frame, bottom", 184, 350, 494, 353, Lighter, kCanvas},
        {"panel bevel, top", 8, 4, 178, 4, Lighter, kFace},
        {"panel bevel, left", 4, 8, 4, 350, Lighter, kFace},
        {"panel dark edge, bottom", 4, 354, 182, 354, Darker, kCanvas},
        {"panel face above the logo plate", 6, 6, 181, 10, Flat, kFace},
        {"panel face beside the grid", 8, 81, 14, 308, Flat, kFace},
        {"panel face, games-text area", 15, 205, 170, 308, Flat, kFace},
        {"logo plate, across its middle", 16, 36, 166, 36, Art, kFace},
        {"logo plate, white inside", 160, 40, 160, 40, Flat, kWhite},
        {"logo plate, emblem and word mark", 20, 20, 150, 52, Varied, kAny},
        {"close mark, across", 468, 24, 488, 24, Art, kCanvas},
        {"close mark, down", 478, 15, 478, 33, Art, kCanvas},
        {"thumbnail grid, bottom bar", 22, 196, 161, 199, Flat, kFrame},
        {"thumbnail grid, right bar", 164, 88, 167, 192, Flat, kFrame},
    };
    const int columns[4] = {20, 57, 94, 131}, tops[4] = {85, 113, 142, 171};
    for (int k = 0; k < 4; ++k) {
        std::string n = std::to_string(k + 1);
        rows.push_back({"thumbnail grid, bar left of column " + n, columns[k] - 4, 88,
                        columns[k] - 1, 192, Flat, kFrame});
        rows.push_back({"thumbnail grid, bar above row " + n, 22, tops[k] - 4, 161, tops[k] - 1,
                        Flat, kFrame});
        for (int j = 0; j < 4; ++j)
            rows.push_back({"screenshot in row " + n + ", column " + std::to_string(j + 1),
                            columns[j], tops[k], columns[j] + 32, tops[k] + (k ? 24 : 23), Varied,
                            kAny});
    }
    // The buttons at y 316 to 341, the hot zone's width on the pill, a shadow right and below.
    struct Button {
        std::string name;
        int left, right, zoneLeft, zoneRight;
        art::Rgb around;
    };
    for (const Button &b : {Button{"button 1", 17, 132, 20, 130, kFace},
                            Button{"button 2", 198, 346, 210, 340, kCanvas},
                            Button{"button 3", 366, 475, 370, 475, kCanvas}}) {
        int middle = (b.left + b.right) / 2;
        rows.insert(rows.end(),
                    {{b.name + ", pill", b.left + 1, 329, b.right - 1, 329, Art, b.around},
                     {b.name + ", hot zone", b.zoneLeft, 329, b.zoneRight, 329, Art, b.around},
                     {b.name + ", pill height", middle, 317, middle, 340, Art, b.around},
                     {b.name + ", black icon", b.left + 13, 337, b.left + 13, 337, Darker, kDark},
                     {b.name + ", left", b.left - 1, 314, b.left - 1, 346, Flat, b.around},
                     {b.name + ", right", b.right + 4, 314, b.right + 4, 346, Flat, b.around},
                     {b.name + ", above", b.left - 1, 314, b.right + 4, 314, Flat, b.around},
                     {b.name + ", below", b.left - 1, 346, b.right + 4, 346, Flat, b.around}});
    }
    return rows;
}

// The exit overlay: its pill at x 5 to 114, y 6 to 31 on canvas. Copied at (361, 309), its
// top-left 123 x 37 pixels must cover button 3 with its shadow, leaving canvas around.
const std::vector<Region> kOverlay = {
    {"pill (the play zone once copied)", 9, 19, 114, 19, Art, kCanvas},
    {"pill height", 60, 7, 60, 30, Art, kCanvas},
    {"black icon", 18, 27, 18, 27, Darker, kDark},
    {"canvas left of the pill", 0, 0, 3, 37, Flat, kCanvas},
    {"canvas above the pill", 0, 0, 123, 4, Flat, kCanvas},
    {"canvas below the shadow", 0, 35, 123, 37, Flat, kCanvas},
    {"canvas right of the shadow", 118, 0, 123, 37, Flat, kCanvas},
};
const std::vector<Region> kAroundCopy = {
    {"right of the exit button", 484, 300, 494, 349, Flat, kCanvas},
    {"below the exit button", 350, 346, 494, 349, Flat, kCanvas},
    {"above the exit button", 350, 300, 494, 308, Flat, kCanvas},
};

TEST(DllResources, PicturesMatchTheLayout) {
    const std::vector<Region> background = BackgroundRegions();
    for (auto [backgroundId, overlayId] : {std::pair{115u, 118u}, {123u, 124u}}) {
        art::Image bg, overlay;
        std::string error, name = "bitmap " + std::to_string(backgroundId);
        ASSERT_TRUE(art::DecodeDib(Data(kRtBitmap, backgroundId), &bg, &error) &&
                    art::DecodeDib(Data(kRtBitmap, overlayId), &overlay, &error))
            << error;
        ASSERT_TRUE(bg.width == 500 && bg.height == 360 && overlay.width == 124 &&
                    overlay.height == 38);
        Check(bg, name, background);
        Check(overlay, "bitmap " + std::to_string(overlayId), kOverlay);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 123; ++x)
                bg.at(361 + x, 309 + y) = overlay.at(x, y);
        Check(bg, name + " under the exit overlay", kAroundCopy);
    }
}

// Flattens the leaves of a version tree node at `at` into path -> value (zero units of texts
// dropped); returns the node's length, or 0 when it overruns `end` or repeats a path.
size_t Flatten(const Bytes &d, size_t at, size_t end, const std::string &parent,
               std::map<std::string, std::string> *out) {
    size_t length = at + 6 <= end ? U16(d, at) : 0, p = at + 6;
    if (length < 6 || at + length > end)
        return 0;
    bool text = U16(d, at + 4) == 1;
    std::string path = parent, value;
    for (; p + 1 < at + length && U16(d, p); p += 2)
        path += char(U16(d, p));
    p = (p + 5) & ~size_t(3);
    size_t bytes = U16(d, at + 2) * (text ? 2 : 1);
    if (p + bytes > at + length)
        return 0;
    for (size_t i = 0; i < bytes; i += text ? 2 : 1)
        if (!text || U16(d, p + i))
            value += char(d[p + i]);
    bool leaf = true;
    for (p = (p + bytes + 3) & ~size_t(3); p < at + length; leaf = false) {
        size_t used = Flatten(d, p, at + length, path + "/", out);
        if (!used)
            return 0;
        p = (p + used + 3) & ~size_t(3);
    }
    return !leaf || out->emplace(path, value).second ? length : 0;
}

// The fixed part is checked byte for byte above; here the string table and the translation.
TEST(DllResources, VersionStringsAndTranslation) {
    const Bytes &d = Data(kRtVersion, 1);
    std::map<std::string, std::string> got;
    ASSERT_EQ(Flatten(d, 0, d.size(), "", &got), d.size()) << "malformed version block";
    const std::string table = "VS_VERSION_INFO/StringFileInfo/040904b0/";
    const std::map<std::string, std::string> expected = {
        {table + "FileDescription", "ZelInterstitial"},
        {table + "FileVersion", "1, 0, 1, 6"},
        {table + "InternalName", "ZelInterstitial"},
        {table + "LegalTrademarks", ""},
        {table + "OriginalFilename", "ZelInterstitial.dll"},
        {table + "PrivateBuild", ""},
        {table + "ProductVersion", "1, 0, 1, 6"},
        {table + "SpecialBuild", ""},
        {"VS_VERSION_INFO/VarFileInfo/Translation", std::string("\x09\x04\xB0\x04", 4)},
    };
    for (const auto &[path, value] : expected) {
        auto it = got.find(path);
        std::string actual = it == got.end() ? "(missing)" : it->second;
        EXPECT_EQ(actual, value) << path;
    }
    EXPECT_EQ(got.size(), expected.size()) << "leaves of the version block";
}

// Block 1 holds ids 0 to 15; string 1's host is free, so it reads as HOST here.
TEST(DllResources, StringTableIdsOneToThirteen) {
    const std::vector<std::string> expected(
        {"", "http://HOST/lumorainterstitial/index.html", "Get more games from", "Tamsel games!",
         " ", "- Action && Racing", "- Card && Casino", "- Puzzle && Board", "- Strategy && Sim",
         "- New games monthly", " ", " ", "Error Launching Game",
         "Cannot read game profile file.\n\n    File name: '%s'", "", ""});
    const Bytes &d = Data(kRtString, 1);
    size_t p = 0;
    for (int id = 0; id < 16; ++id) {
        size_t count = p + 2 <= d.size() ? U16(d, p) : 0;
        ASSERT_LE(p + 2 + 2 * count, d.size()) << "string " << id << " cut short";
        std::string text;
        for (size_t i = 0; i < count; ++i)
            text += char(U16(d, p + 2 + 2 * i));
        p += 2 + 2 * count;
        if (id == 1)
            text = std::regex_replace(text, std::regex("^http://[^/]+/"), "http://HOST/");
        EXPECT_EQ(text, expected[size_t(id)]) << "string " << id;
    }
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const char *path = argc > 1 ? argv[1] : std::getenv("ZI_DLL_PATH");
    Bytes file;
    std::string error = "no DLL given: pass its path as the argument or in ZI_DLL_PATH";
    if (path && !art::ReadFileBytes(path, &file))
        error = std::string("cannot read ") + path;
    if (!path || file.empty() || !pe::ReadResources(file, &g_resources, &error)) {
        std::fprintf(stderr, "dll_resources_test: %s\n", error.c_str());
        return 1;
    }
    std::printf("dll_resources_test: %s\n", path);
    return RUN_ALL_TESTS();
}
