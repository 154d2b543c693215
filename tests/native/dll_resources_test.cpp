// Reads the resources of a built ZelInterstitial.dll (PE32 product or PE32+ twin) and checks
// them field by field, and samples the pictures against the dialog's layout.
//
//   dll_resources_test PATH_TO_DLL      (or ZI_DLL_PATH=PATH_TO_DLL dll_resources_test)
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bmp.h"
#include "fileio.h"
#include "pe_resources.h"

namespace {

std::string g_dllPath;

constexpr uint32_t kEnglishUs = 0x0409;
constexpr uint32_t kRtCursor = 1, kRtBitmap = 2, kRtDialog = 5, kRtString = 6, kRtGroupCursor = 12,
                   kRtVersion = 16;

class DllResources : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::vector<uint8_t> file;
        loaded_ = !g_dllPath.empty() && art::ReadFileBytes(g_dllPath, &file) &&
                  pe::ReadModule(file, &module_, &error_);
        if (g_dllPath.empty())
            error_ = "no DLL given: pass its path as the argument or in ZI_DLL_PATH";
        else if (file.empty())
            error_ = "cannot read " + g_dllPath;
    }
    void SetUp() override {
        ASSERT_TRUE(loaded_) << error_;
    }

    const std::vector<uint8_t> &Data(uint32_t type, uint32_t id) {
        const pe::Resource *res = pe::Find(module_, type, id);
        static const std::vector<uint8_t> none;
        EXPECT_NE(res, nullptr) << "resource type " << type << " id " << id << " missing";
        return res ? res->data : none;
    }

    static pe::Module module_;
    static bool loaded_;
    static std::string error_;
};

pe::Module DllResources::module_;
bool DllResources::loaded_ = false;
std::string DllResources::error_;

uint16_t U16(const std::vector<uint8_t> &d, size_t at) {
    return art::ReadU16(&d[at]);
}
uint32_t U32(const std::vector<uint8_t> &d, size_t at) {
    return art::ReadU32(&d[at]);
}

std::string Utf16At(const std::vector<uint8_t> &d, size_t at, size_t units) {
    std::string s;
    for (size_t i = 0; i < units; ++i)
        s.push_back(char(U16(d, at + 2 * i)));
    return s;
}

// ---------------------------------------------------------------------------------------------
// Inventory: exactly these resources, each once, each in English (United States).

TEST_F(DllResources, InventoryTypesIdsLanguagesAndSizes) {
    struct Row {
        uint32_t type, id;
        size_t size; // 0: checked elsewhere
    };
    const Row rows[] = {
        {kRtDialog, 104, 84},
        {kRtGroupCursor, 108, 20},
        {kRtCursor, 1, 748},
        {kRtBitmap, 115, 40 + 540000},
        {kRtBitmap, 118, 40 + 14136},
        {kRtBitmap, 123, 40 + 1024 + 180000},
        {kRtBitmap, 124, 40 + 1024 + 4712},
        {kRtString, 1, 0},
        {kRtVersion, 1, 0},
    };
    std::map<std::pair<uint32_t, uint32_t>, int> seen;
    for (const pe::Resource &res : module_.resources) {
        EXPECT_TRUE(res.typeName.empty() && res.idName.empty())
            << "resource named \"" << res.typeName << "\" / \"" << res.idName
            << "\": every resource must be numbered";
        EXPECT_EQ(res.language, kEnglishUs)
            << "type " << res.type << " id " << res.id << ": expected language 0x0409, got 0x"
            << std::hex << res.language;
        ++seen[{res.type, res.id}];
    }
    for (const Row &row : rows) {
        int count = seen[{row.type, row.id}];
        EXPECT_EQ(count, 1) << "type " << row.type << " id " << row.id
                            << ": expected exactly one entry, got " << count;
        const pe::Resource *res = pe::Find(module_, row.type, row.id);
        if (res && row.size) {
            EXPECT_EQ(res->data.size(), row.size)
                << "type " << row.type << " id " << row.id << ": expected " << row.size
                << " bytes, got " << res->data.size();
        }
    }
    EXPECT_EQ(module_.resources.size(), std::size(rows))
        << "expected " << std::size(rows) << " resources, got " << module_.resources.size();
}

// ---------------------------------------------------------------------------------------------
// Dialog template 104: the 84-byte extended template, field by field.

TEST_F(DllResources, DialogTemplateFields) {
    const std::vector<uint8_t> &d = Data(kRtDialog, 104);
    ASSERT_EQ(d.size(), 84u);
    struct Field {
        const char *name;
        size_t offset, width;
        uint32_t value;
    };
    const Field fields[] = {
        {"dlgVer", 0, 2, 1},
        {"signature", 2, 2, 0xFFFF},
        {"helpID", 4, 4, 0},
        {"exStyle", 8, 4, 0x00010004},
        {"style", 12, 4, 0x90C00E42},
        {"cDlgItems", 16, 2, 0},
        {"x", 18, 2, 0},
        {"y", 20, 2, 0},
        {"cx", 22, 2, 181},
        {"cy", 24, 2, 131},
        {"menu", 26, 2, 0},
        {"windowClass", 28, 2, 0},
        {"title terminator", 52, 2, 0},
        {"pointsize", 54, 2, 10},
        {"weight", 56, 2, 0},
        {"italic", 58, 1, 0},
        {"charset", 59, 1, 1},
        {"typeface terminator", 82, 2, 0},
    };
    for (const Field &f : fields) {
        uint32_t got = f.width == 1   ? d[f.offset]
                       : f.width == 2 ? U16(d, f.offset)
                                      : U32(d, f.offset);
        EXPECT_EQ(got, f.value) << f.name << " at offset " << f.offset << ": expected 0x"
                                << std::hex << f.value << ", got 0x" << got;
    }
    EXPECT_EQ(Utf16At(d, 30, 11), "Game Dialog");
    EXPECT_EQ(Utf16At(d, 60, 11), "Verdana Ref");
}

// ---------------------------------------------------------------------------------------------
// Hand cursor: group 108 and image 1, byte for byte where the layout is fixed.

TEST_F(DllResources, CursorGroupFields) {
    const std::vector<uint8_t> &d = Data(kRtGroupCursor, 108);
    ASSERT_EQ(d.size(), 20u);
    struct Field {
        const char *name;
        size_t offset, width;
        uint32_t value;
    };
    const Field fields[] = {
        {"reserved", 0, 2, 0},   {"type (cursor)", 2, 2, 2},     {"count", 4, 2, 1},
        {"width", 6, 2, 32},     {"height", 8, 2, 64},           {"planes", 10, 2, 1},
        {"bit count", 12, 2, 4}, {"bytes in image", 14, 4, 748}, {"image id", 18, 2, 1},
    };
    for (const Field &f : fields) {
        uint32_t got = f.width == 2 ? U16(d, f.offset) : U32(d, f.offset);
        EXPECT_EQ(got, f.value) << f.name << ": expected " << f.value << ", got " << got;
    }
}

TEST_F(DllResources, CursorImageHeaderPaletteAndHand) {
    const std::vector<uint8_t> &d = Data(kRtCursor, 1);
    ASSERT_EQ(d.size(), 748u);
    struct Field {
        const char *name;
        size_t offset, width;
        uint32_t value;
    };
    const Field fields[] = {
        {"hotspot x", 0, 2, 12},       {"hotspot y", 2, 2, 1},        {"biSize", 4, 4, 40},
        {"biWidth", 8, 4, 32},         {"biHeight", 12, 4, 64},       {"biPlanes", 16, 2, 1},
        {"biBitCount", 18, 2, 4},      {"biCompression", 20, 4, 0},   {"biSizeImage", 24, 4, 640},
        {"biXPelsPerMeter", 28, 4, 0}, {"biYPelsPerMeter", 32, 4, 0}, {"biClrUsed", 36, 4, 0},
        {"biClrImportant", 40, 4, 0},
    };
    for (const Field &f : fields) {
        uint32_t got = f.width == 2 ? U16(d, f.offset) : U32(d, f.offset);
        EXPECT_EQ(got, f.value) << f.name << ": expected " << f.value << ", got " << got;
    }
    const uint8_t vga[16][3] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
        {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) {
        const uint8_t *q = &d[44 + 4 * i];
        EXPECT_TRUE(q[2] == vga[i][0] && q[1] == vga[i][1] && q[0] == vga[i][2] && q[3] == 0)
            << "palette entry " << i << ": expected (" << int(vga[i][0]) << ", " << int(vga[i][1])
            << ", " << int(vga[i][2]) << "), got (" << int(q[2]) << ", " << int(q[1]) << ", "
            << int(q[0]) << ", reserved " << int(q[3]) << ")";
    }

    // Rows are bottom-up: image row y is stored at row 31 - y of the colour image and the mask.
    auto colour = [&](int x, int y) {
        return (d[108 + (31 - y) * 16 + x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
    };
    auto transparent = [&](int x, int y) {
        return (d[620 + (31 - y) * 4 + x / 8] >> (7 - x % 8)) & 1;
    };
    int left = 32, right = -1, top = 32, bottom = -1;
    std::set<int> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (transparent(x, y)) {
                EXPECT_EQ(colour(x, y), 0) << "transparent pixel (" << x << ", " << y
                                           << "): expected colour index 0, got " << colour(x, y);
                continue;
            }
            used.insert(colour(x, y));
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    EXPECT_FALSE(transparent(12, 1)) << "the hotspot (12, 1) must be on the finger tip";
    EXPECT_EQ(top, 1) << "expected the finger tip on row 1, got the hand's top on row " << top;
    EXPECT_TRUE(left >= 4 && left <= 6 && right >= 22 && right <= 24 && bottom >= 28 &&
                bottom <= 30)
        << "expected the hand in about x 5 to 23, y 1 to 29, got x " << left << " to " << right
        << ", y " << top << " to " << bottom;
    for (int index : {0, 4, 7, 8, 12, 15}) // black, navy, grey, silver, blue, white
        EXPECT_TRUE(used.count(index)) << "expected the hand to use colour index " << index;
    for (int index : used)
        EXPECT_TRUE(index == 0 || index == 4 || index == 7 || index == 8 || index == 12 ||
                    index == 15)
            << "unexpected colour index " << index << " in the hand";
}

// ---------------------------------------------------------------------------------------------
// Bitmaps: header fields, colour tables.

struct BitmapRow {
    uint32_t id;
    int32_t width, height;
    uint16_t bits;
};
const BitmapRow kBitmaps[] = {
    {115, 500, 360, 24}, {118, 124, 38, 24}, {123, 500, 360, 8}, {124, 124, 38, 8}};

TEST_F(DllResources, BitmapHeaderFields) {
    for (const BitmapRow &row : kBitmaps) {
        const std::vector<uint8_t> &d = Data(kRtBitmap, row.id);
        ASSERT_GE(d.size(), 40u) << "bitmap " << row.id;
        struct Field {
            const char *name;
            size_t offset, width;
            uint32_t value;
        };
        const Field fields[] = {
            {"biSize", 0, 4, 40},
            {"biWidth", 4, 4, uint32_t(row.width)},
            {"biHeight (positive: bottom-up)", 8, 4, uint32_t(row.height)},
            {"biPlanes", 12, 2, 1},
            {"biBitCount", 14, 2, row.bits},
            {"biCompression", 16, 4, 0},
            {"biSizeImage", 20, 4, 0},
            {"biXPelsPerMeter", 24, 4, 2834},
            {"biYPelsPerMeter", 28, 4, 2834},
            {"biClrUsed", 32, 4, 0},
            {"biClrImportant", 36, 4, 0},
        };
        for (const Field &f : fields) {
            uint32_t got = f.width == 2 ? U16(d, f.offset) : U32(d, f.offset);
            EXPECT_EQ(got, f.value) << "bitmap " << row.id << " " << f.name << ": expected "
                                    << f.value << ", got " << got;
        }
    }
}

std::vector<art::Rgb> Table(const std::vector<uint8_t> &d) {
    std::vector<art::Rgb> table;
    for (size_t i = 0; i < 256 && 40 + 4 * i + 3 < d.size(); ++i)
        table.push_back(art::Rgb{d[40 + 4 * i + 2], d[40 + 4 * i + 1], d[40 + 4 * i]});
    return table;
}

bool Contains(const std::vector<art::Rgb> &table, art::Rgb c) {
    for (art::Rgb t : table)
        if (t == c)
            return true;
    return false;
}

TEST_F(DllResources, EightBitPicturesHaveOptimisedTablesOfTheirOwn) {
    std::vector<art::Rgb> background = Table(Data(kRtBitmap, 123));
    std::vector<art::Rgb> overlay = Table(Data(kRtBitmap, 124));
    ASSERT_EQ(background.size(), 256u);
    ASSERT_EQ(overlay.size(), 256u);
    EXPECT_NE(background, overlay) << "expected each 8-bit picture to carry its own table";
    for (const uint8_t *d : {&Data(kRtBitmap, 123)[40], &Data(kRtBitmap, 124)[40]})
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(d[4 * i + 3], 0) << "table entry " << i << ": reserved byte not zero";

    // A fixed table (the system's, a colour cube) holds neither of the layout's slate colours;
    // an optimised one holds both exactly, as they cover most of the picture.
    const art::Rgb canvas{69, 90, 111}, face{124, 148, 173};
    EXPECT_TRUE(Contains(background, canvas)) << "expected (69, 90, 111) in the table of 123";
    EXPECT_TRUE(Contains(background, face)) << "expected (124, 148, 173) in the table of 123";
    EXPECT_TRUE(Contains(overlay, canvas)) << "expected (69, 90, 111) in the table of 124";
    std::set<uint32_t> distinct;
    for (art::Rgb c : background)
        distinct.insert(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
    EXPECT_GE(distinct.size(), 200u) << "expected the background to use most of its table, got "
                                     << distinct.size() << " distinct colours";
}

// ---------------------------------------------------------------------------------------------
// Pixels against the layout, at both depths.

art::Image Picture(const std::vector<uint8_t> &d, uint32_t id) {
    art::Image image;
    std::string error;
    EXPECT_TRUE(art::DecodeDib(d, &image, &error)) << "bitmap " << id << ": " << error;
    return image;
}

std::string Str(art::Rgb c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

int Distance(art::Rgb a, art::Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

const art::Rgb kCanvas{69, 90, 111}, kFace{124, 148, 173}, kFrame{22, 28, 34};

// Every pixel of [x0, x1] x [y0, y1] is exactly the colour; reports the first that is not.
void ExpectFlat(const art::Image &image, const char *what, int x0, int y0, int x1, int y1,
                art::Rgb colour) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (image.at(x, y) != colour) {
                ADD_FAILURE() << what << ": pixel (" << x << ", " << y << "): expected "
                              << Str(colour) << ", got " << Str(image.at(x, y));
                return;
            }
}

// A pixel of an element drawn on a plain background differs from that background clearly.
// The closest any blend of the black labels and the silver face comes to the slate colours
// is about 38 (sum of channel differences), so 25 separates artwork from the plain colour.
void ExpectOn(const art::Image &image, const char *what, int x, int y, art::Rgb background) {
    EXPECT_GT(Distance(image.at(x, y), background), 25)
        << what << ": pixel (" << x << ", " << y << "): expected artwork, got the plain "
        << Str(image.at(x, y));
}

class BackgroundPixels : public DllResources, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(BackgroundPixels, MatchTheLayout) {
    art::Image bg = Picture(Data(kRtBitmap, GetParam()), GetParam());
    ASSERT_EQ(bg.width, 500);
    ASSERT_EQ(bg.height, 360);

    // Canvas around the panels, and the right area's flat inside where the dialog paints.
    ExpectFlat(bg, "canvas, top margin", 0, 0, 499, 3, kCanvas);
    ExpectFlat(bg, "canvas, bottom margin", 0, 355, 499, 359, kCanvas);
    ExpectFlat(bg, "canvas, left margin", 0, 0, 3, 359, kCanvas);
    ExpectFlat(bg, "canvas, right margin", 499, 0, 499, 359, kCanvas);
    ExpectFlat(bg, "game-name strip", 196, 9, 462, 11, kCanvas);
    ExpectFlat(bg, "game-name strip (left of the close mark)", 184, 9, 462, 40, kCanvas);
    ExpectFlat(bg, "upsell picture and text", 184, 41, 494, 305, kCanvas);
    ExpectFlat(bg, "right area below the close mark", 463, 41, 494, 305, kCanvas);

    // Left column: face, bevels, dark edge; the games-text area stays flat.
    ExpectFlat(bg, "games-text face", 15, 205, 170, 308, kFace);
    ExpectFlat(bg, "panel face beside the grid", 8, 81, 14, 308, kFace);
    EXPECT_GT(Distance(bg.at(100, 4), kFace), 30) << "expected a light bevel along the top";
    EXPECT_GT(Distance(bg.at(4, 200), kFace), 30) << "expected a light bevel along the left";
    EXPECT_GT(bg.at(100, 4).r, kFace.r) << "expected the top bevel lighter than the face";
    EXPECT_GT(bg.at(4, 200).r, kFace.r) << "expected the left bevel lighter than the face";
    for (auto [x, y] : {std::pair{182, 100}, {182, 354}, {100, 354}, {4, 354}})
        EXPECT_LT(bg.at(x, y).r + bg.at(x, y).g + bg.at(x, y).b, 200)
            << "dark edge of the panel at (" << x << ", " << y << "): got " << Str(bg.at(x, y));

    // Right area frame: dark on top and left, light on right and bottom.
    auto sum = [&](int x, int y) { return bg.at(x, y).r + bg.at(x, y).g + bg.at(x, y).b; };
    int canvasSum = kCanvas.r + kCanvas.g + kCanvas.b;
    for (auto [x, y] : {std::pair{300, 4}, {300, 8}, {183, 200}})
        EXPECT_LT(sum(x, y), canvasSum) << "expected the recessed frame darker at (" << x << ", "
                                        << y << "), got " << Str(bg.at(x, y));
    for (auto [x, y] : {std::pair{495, 200}, {498, 200}, {300, 350}, {300, 353}})
        EXPECT_GT(sum(x, y), canvasSum) << "expected the recessed frame lighter at (" << x << ", "
                                        << y << "), got " << Str(bg.at(x, y));

    // Logo plate: white inside, artwork where the logo zone lies, face outside it.
    ExpectOn(bg, "logo plate rim", 16, 36, kFace);
    ExpectOn(bg, "logo plate rim", 166, 36, kFace);
    EXPECT_EQ(bg.at(160, 40), (art::Rgb{255, 255, 255})) << "expected the plate white inside";
    EXPECT_EQ(bg.at(30, 53), (art::Rgb{255, 255, 255})) << "expected the plate white inside";
    int marked = 0;
    for (int x = 20; x <= 150; ++x)
        marked += Distance(bg.at(x, 36), art::Rgb{255, 255, 255}) > 200;
    EXPECT_GT(marked, 20) << "expected the emblem and word mark across the plate's middle row";
    ExpectFlat(bg, "face above the plate", 6, 6, 181, 10, kFace);

    // Thumbnail grid: frame bars between the cells, a picture in every cell.
    ExpectFlat(bg, "grid frame, top bar", 22, 81, 161, 84, kFrame);
    ExpectFlat(bg, "grid frame, bottom bar", 22, 196, 161, 199, kFrame);
    const int columns[4] = {20, 57, 94, 131}, rows[4] = {85, 113, 142, 171},
              heights[4] = {24, 25, 25, 25};
    for (int k = 0; k < 4; ++k) {
        ExpectFlat(bg, "grid frame, vertical bar", columns[k] - 4, 88, columns[k] - 1, 192, kFrame);
        ExpectFlat(bg, "grid frame, horizontal bar", 22, rows[k] - 4, 161, rows[k] - 1, kFrame);
    }
    ExpectFlat(bg, "grid frame, right bar", 164, 88, 167, 192, kFrame);
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k) {
            std::set<uint32_t> colours;
            bool frameColourOnly = true;
            for (int y = rows[r]; y < rows[r] + heights[r]; ++y)
                for (int x = columns[k]; x < columns[k] + 33; ++x) {
                    art::Rgb c = bg.at(x, y);
                    colours.insert(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
                    frameColourOnly = frameColourOnly && c == kFrame;
                }
            EXPECT_TRUE(!frameColourOnly && colours.size() >= 8)
                << "cell at (" << columns[k] << ", " << rows[r] << "): expected a screenshot, got "
                << colours.size() << " colours";
        }

    // The three buttons: the pill spans x left to right on y 316 to 341, with the hot zone's
    // whole width on the pill; plain background just left of the pill and past its shadow.
    struct Button {
        const char *name;
        int left, right, zoneLeft, zoneRight;
        art::Rgb background;
    };
    const Button buttons[] = {
        {"button 1 (more games)", 17, 132, 20, 130, kFace},
        {"button 2 (upsell)", 198, 346, 210, 340, kCanvas},
        {"button 3 (play)", 366, 475, 370, 475, kCanvas},
    };
    for (const Button &b : buttons) {
        for (int x = b.left + 1; x <= b.right - 1; ++x)
            ExpectOn(bg, b.name, x, 329, b.background);
        for (int x = b.zoneLeft; x <= b.zoneRight; ++x)
            ExpectOn(bg, b.name, x, 329, b.background);
        int middle = (b.left + b.right) / 2;
        for (int y = 317; y <= 340; ++y)
            ExpectOn(bg, b.name, middle, y, b.background);
        EXPECT_EQ(bg.at(b.left - 1, 329), b.background) << b.name << ": left of the pill";
        EXPECT_EQ(bg.at(b.right + 4, 329), b.background) << b.name << ": right of the shadow";
        EXPECT_EQ(bg.at(middle, 314), b.background) << b.name << ": above the pill";
        EXPECT_EQ(bg.at(middle, 346), b.background) << b.name << ": below the shadow";
        // The round icon at the left end is black below its white glyph.
        art::Rgb icon = bg.at(b.left + 13, 337);
        EXPECT_LT(icon.r + icon.g + icon.b, 120)
            << b.name << ": expected the black icon, got " << Str(icon);
    }

    // The close mark: round, under the upper part of the close zone (460, 5)-(495, 30).
    ExpectOn(bg, "close mark", 478, 15, kCanvas);
    ExpectOn(bg, "close mark", 478, 24, kCanvas);
    ExpectOn(bg, "close mark", 468, 24, kCanvas);
    ExpectOn(bg, "close mark", 488, 24, kCanvas);
    EXPECT_EQ(bg.at(478, 10), kCanvas) << "expected canvas above the close mark";
    EXPECT_EQ(bg.at(462, 24), kCanvas) << "expected canvas left of the close mark";
}

INSTANTIATE_TEST_SUITE_P(BothDepths, BackgroundPixels, ::testing::Values(115u, 123u));

class OverlayPixels : public DllResources,
                      public ::testing::WithParamInterface<std::pair<uint32_t, uint32_t>> {};

TEST_P(OverlayPixels, PillLandsOnButtonThree) {
    art::Image overlay = Picture(Data(kRtBitmap, GetParam().first), GetParam().first);
    art::Image bg = Picture(Data(kRtBitmap, GetParam().second), GetParam().second);
    ASSERT_EQ(overlay.width, 124);
    ASSERT_EQ(overlay.height, 38);
    ASSERT_EQ(bg.width, 500);

    // The pill: x 5 to 114, y 6 to 31, on the canvas colour.
    for (int x = 6; x <= 113; ++x)
        ExpectOn(overlay, "exit pill", x, 19, kCanvas);
    for (int y = 7; y <= 30; ++y)
        ExpectOn(overlay, "exit pill", 60, y, kCanvas);
    ExpectFlat(overlay, "canvas left of the pill", 0, 0, 3, 37, kCanvas);
    ExpectFlat(overlay, "canvas above the pill", 0, 0, 123, 4, kCanvas);
    ExpectFlat(overlay, "canvas below the shadow", 0, 35, 123, 37, kCanvas);
    ExpectFlat(overlay, "canvas right of the shadow", 118, 0, 123, 37, kCanvas);
    art::Rgb icon = overlay.at(5 + 13, 27);
    EXPECT_LT(icon.r + icon.g + icon.b, 120) << "expected the black icon, got " << Str(icon);

    // Copied at (361, 309), its top-left 123 x 37 pixels cover button 3 and its shadow
    // whole: around the copy the dialog shows only canvas, and the pill spans the play zone.
    art::Image dialog = bg;
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 123; ++x)
            dialog.at(361 + x, 309 + y) = overlay.at(x, y);
    ExpectFlat(dialog, "around the exit button, right", 484, 300, 494, 349, kCanvas);
    ExpectFlat(dialog, "around the exit button, below", 350, 346, 494, 349, kCanvas);
    ExpectFlat(dialog, "around the exit button, above", 350, 300, 494, 308, kCanvas);
    for (int x = 370; x <= 475; ++x)
        ExpectOn(dialog, "exit button over the play zone", x, 328, kCanvas);
    EXPECT_EQ(dialog.at(365, 328), kCanvas) << "expected the exit pill to start at x 366";
}

INSTANTIATE_TEST_SUITE_P(BothDepths, OverlayPixels,
                         ::testing::Values(std::pair<uint32_t, uint32_t>{118, 115},
                                           std::pair<uint32_t, uint32_t>{124, 123}));

// ---------------------------------------------------------------------------------------------
// Version block.

struct VersionNode {
    std::string key;
    uint16_t valueLength = 0, type = 0;
    std::vector<uint8_t> value;
    std::vector<VersionNode> children;
};

// Parses one node of the version tree at `at`; returns its length, or 0 when malformed.
size_t ParseNode(const std::vector<uint8_t> &d, size_t at, size_t end, VersionNode *node) {
    if (at + 6 > end)
        return 0;
    size_t length = U16(d, at);
    if (length < 6 || at + length > end)
        return 0;
    node->valueLength = U16(d, at + 2);
    node->type = U16(d, at + 4);
    size_t p = at + 6;
    while (p + 1 < at + length && U16(d, p) != 0) {
        node->key.push_back(char(U16(d, p)));
        p += 2;
    }
    p = (p + 2 + 3) & ~size_t(3);
    size_t valueBytes = node->type == 1 ? size_t(node->valueLength) * 2 : node->valueLength;
    if (p + valueBytes > at + length)
        return 0;
    node->value.assign(d.begin() + long(p), d.begin() + long(p + valueBytes));
    p = (p + valueBytes + 3) & ~size_t(3);
    while (p < at + length) {
        VersionNode child;
        size_t used = ParseNode(d, p, at + length, &child);
        if (!used)
            return 0;
        node->children.push_back(std::move(child));
        p = (p + used + 3) & ~size_t(3);
    }
    return length;
}

const VersionNode *Child(const VersionNode &node, const std::string &key) {
    for (const VersionNode &c : node.children)
        if (c.key == key)
            return &c;
    return nullptr;
}

TEST_F(DllResources, VersionBlock) {
    const std::vector<uint8_t> &d = Data(kRtVersion, 1);
    VersionNode root;
    ASSERT_EQ(ParseNode(d, 0, d.size(), &root), d.size()) << "malformed version block";
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), 52u) << "expected a 52-byte VS_FIXEDFILEINFO";
    struct Field {
        const char *name;
        size_t offset;
        uint32_t value;
    };
    const Field fields[] = {
        {"dwSignature", 0, 0xFEEF04BD},
        {"dwStrucVersion", 4, 0x00010000},
        {"dwFileVersionMS", 8, 0x00010000},
        {"dwFileVersionLS", 12, 0x00010006},
        {"dwProductVersionMS", 16, 0x00010000},
        {"dwProductVersionLS", 20, 0x00010006},
        {"dwFileFlagsMask", 24, 0x3F},
        {"dwFileFlags", 28, 0},
        {"dwFileOS", 32, 0x00040004},
        {"dwFileType", 36, 2},
        {"dwFileSubtype", 40, 0},
        {"dwFileDateMS", 44, 0},
        {"dwFileDateLS", 48, 0},
    };
    for (const Field &f : fields)
        EXPECT_EQ(U32(root.value, f.offset), f.value)
            << f.name << ": expected 0x" << std::hex << f.value << ", got 0x"
            << U32(root.value, f.offset);

    const VersionNode *info = Child(root, "StringFileInfo");
    ASSERT_NE(info, nullptr) << "no StringFileInfo";
    ASSERT_EQ(info->children.size(), 1u) << "expected one string table";
    EXPECT_EQ(info->children[0].key, "040904b0");
    std::map<std::string, std::string> strings;
    for (const VersionNode &s : info->children[0].children) {
        std::string text;
        for (size_t i = 0; i + 1 < s.value.size(); i += 2)
            if (U16(s.value, i) != 0)
                text.push_back(char(U16(s.value, i)));
        strings[s.key] = text;
    }
    const std::map<std::string, std::string> expected = {
        {"FileDescription", "ZelInterstitial"},
        {"FileVersion", "1, 0, 1, 6"},
        {"InternalName", "ZelInterstitial"},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "ZelInterstitial.dll"},
        {"PrivateBuild", ""},
        {"ProductVersion", "1, 0, 1, 6"},
        {"SpecialBuild", ""},
    };
    for (const auto &[key, value] : expected) {
        auto it = strings.find(key);
        if (it == strings.end())
            ADD_FAILURE() << "version string " << key << " missing";
        else
            EXPECT_EQ(it->second, value) << "version string " << key;
    }
    EXPECT_EQ(strings.size(), expected.size()) << "expected exactly the eight version strings";

    const VersionNode *var = Child(root, "VarFileInfo");
    ASSERT_NE(var, nullptr) << "no VarFileInfo";
    const VersionNode *translation = Child(*var, "Translation");
    ASSERT_NE(translation, nullptr) << "no Translation";
    ASSERT_EQ(translation->value.size(), 4u);
    EXPECT_EQ(U16(translation->value, 0), 0x0409);
    EXPECT_EQ(U16(translation->value, 2), 0x04B0);
}

// ---------------------------------------------------------------------------------------------
// String table block 1: ids 0 to 15.

TEST_F(DllResources, StringTableBlockOne) {
    const std::vector<uint8_t> &d = Data(kRtString, 1);
    std::vector<std::string> strings;
    size_t p = 0;
    for (int id = 0; id < 16; ++id) {
        ASSERT_LE(p + 2, d.size()) << "string " << id << " cut short";
        size_t count = U16(d, p);
        ASSERT_LE(p + 2 + 2 * count, d.size()) << "string " << id << " cut short";
        strings.push_back(Utf16At(d, p + 2, count));
        p += 2 + 2 * count;
    }
    const std::string prefix = "http://", suffix = "/lumorainterstitial/index.html";
    const std::string &url = strings[1];
    EXPECT_TRUE(url.size() > prefix.size() + suffix.size() &&
                url.compare(0, prefix.size(), prefix) == 0 &&
                url.compare(url.size() - suffix.size(), suffix.size(), suffix) == 0 &&
                url.find('/', prefix.size()) == url.size() - suffix.size())
        << "string 1: expected http://HOST/lumorainterstitial/index.html, got \"" << url << "\"";
    const char *expected[16] = {
        "",
        nullptr, // string 1, checked above
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
        "",
    };
    for (int id = 0; id < 16; ++id)
        if (expected[id]) {
            EXPECT_EQ(strings[size_t(id)], expected[id]) << "string " << id;
        }
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_dllPath = argv[1];
    else if (const char *env = std::getenv("ZI_DLL_PATH"))
        g_dllPath = env;
    std::printf("dll_resources_test: %s\n",
                g_dllPath.empty() ? "(no DLL given)" : g_dllPath.c_str());
    return RUN_ALL_TESTS();
}
