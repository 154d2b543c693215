// Hostile inputs, one row each: what the profile, the registry, the command line, the
// browser's template and the upsell picture can hold. The library must answer as the row says
// and never crash, hang or write past a field.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "entry/interstitial.h"
#include "game_fixture.h"

namespace {

const char kProfile[] = "[Main]\r\nGameName=Star Duel\r\n[Upsell]\r\nUpsellGraphic=pic.bmp\r\n";
const std::string k32 = std::string("3.2") + '\0'; // a version as it is registered
const std::string kUnreadable = "Failed to read default value of 'MainApp'\n";

// What a row's set-up may need, and what it leaves to undo after the run.
struct Bed {
    explicit Bed(GameFolder &game) : game(game) {}
    GameFolder &game;
    std::string args = "3";
    std::shared_ptr<void> held; // a handle the run must find open, closed after it
    std::unique_ptr<TestBrowser> browser; // with it, the logo is clicked
    // The browser's command for ".HTM".
    void Template(DWORD type, const std::string &command) {
        args = "1";
        browser.reset(new TestBrowser(command, type));
    }
    // A declining client, and game arguments that make its command line `length` bytes:
    // "client" --ini="<folder>\launch.ini" --cmdline="<game>" 3 2xx...
    void ClientCommandLine(size_t length) {
        RegisterClient(k32, REG_SZ, InstallSampleClient(game, "decline"));
        std::string line = "\"" + game.File("portal.exe") + "\" --ini=\"" + game.Path() +
                           "launch.ini\" --cmdline=\"" + game.ExePath() + "\" 3 2";
        args = "3 2" + std::string(length - line.size(), 'x');
    }
};

// A bottom-up BMP's headers (and for 1 bit, its black-and-white palette) before `pixels`.
std::string Bmp(int32_t width, int32_t height, uint16_t bits, const std::string &pixels) {
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, bits, BI_RGB, 0, 0, 0, 0, 0};
    info.biSizeImage = ((uint32_t)width * bits + 31) / 32 * 4 * (uint32_t)height;
    std::string palette = bits == 1 ? std::string("\0\0\0\0\xff\xff\xff\0", 8) : "";
    BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, 0};
    file.bfOffBits = (DWORD)(sizeof file + sizeof info + palette.size());
    file.bfSize = file.bfOffBits + info.biSizeImage;
    return std::string((const char *)&file, sizeof file) +
           std::string((const char *)&info, sizeof info) + palette + pixels;
}

// The profile without the verdict's line.
std::string WithoutRecord(std::string profile) {
    size_t at = profile.find("Lumora=");
    return at == std::string::npos ? profile : profile.erase(at, profile.find('\n', at) + 1 - at);
}

TEST(Hostile, EachInputGetsItsAnswer) {
    const std::string name10k(10000, 'N');
    const std::string deep = std::string(100, 'd') + "\\" + std::string(100, 'e') + "\\";
    struct Row {
        const char *what;
        std::string profile; // "" for none
        std::function<void(Bed &)> setUp;
        int answer;                   // the first call's
        std::string output;           // the debug output besides painting
        bool keepsOtherBytes;         // the profile's other bytes are as they were
        size_t profilePathLength = 0; // the profile's path is that long (0: any)
    } rows[] = {
        {"profile of zero bytes", "", [](Bed &b) { b.game.WriteProfile(""); }, 0,
         kMissingProfileLines, true},
        {"UTF-8 byte order mark", "\xef\xbb\xbf" + std::string(kProfile), nullptr, 1, kNoClientLine,
         true},
        {"UTF-16 byte order mark", std::string("\xff\xfe[\0M\0a\0i\0n\0]\0\r\0\n\0", 18), nullptr,
         1, kNoClientLine, false},
        {"LF line ends", "[Main]\nGameName=Star Duel\n\n[Upsell]\nUpsellLine1=x\n", nullptr, 1,
         kNoClientLine, false},
        {"a folder named launch.ini", "",
         [](Bed &b) { CreateDirectoryA(b.game.ProfilePath().c_str(), NULL); }, 0,
         kMissingProfileLines, true},
        {"profile locked by another process", kProfile,
         [](Bed &b) {
             b.held.reset(CreateFileA(b.game.ProfilePath().c_str(), GENERIC_READ, 0, NULL,
                                      OPEN_EXISTING, 0, NULL),
                          CloseHandle);
         },
         1, kNoClientLine, true},
        {"10,000-character values",
         "[Main]\r\nGameName=" + name10k + "\r\nLogoURL=" + name10k +
             "\r\n[Upsell]\r\nUpsellLine1=" + name10k + "\r\n",
         nullptr, 1, kNoClientLine, true},
        {"profile path of 259 characters", kProfile, nullptr, 1, kNoClientLine, true, 259},
        {"profile path of 260 characters", kProfile, nullptr, 0, kMissingProfileLines, true, 260},
        {"64 KiB version", kProfile,
         [](Bed &) { RegisterClient(std::string(65536, '9'), REG_SZ, "C:\\x.exe"); }, 1,
         kNoClientLine, true},
        {"16-character version", kProfile,
         [](Bed &) { RegisterClient(std::string(16, '9') + '\0', REG_SZ, "C:\\x.exe"); }, 1,
         kNoClientLine, true},
        {"16 bytes of version, no terminator", kProfile,
         [](Bed &) { RegisterClient(std::string(16, '9'), REG_BINARY, "C:\\x.exe"); }, 1,
         kNoClientLine, true},
        {"3 bytes of version, no terminator: read", kProfile,
         [](Bed &b) { RegisterClient("3.2", REG_BINARY, InstallSampleClient(b.game, "launched")); },
         1, "Lumora launched the game\n", true},
        {"no client path key", kProfile,
         [](Bed &) { SetClassesValue(kClientVersionKey, NULL, REG_SZ, k32); }, 1,
         "Failed to open registry entry for 'MainApp'\n", true},
        {"client path key without its default value", kProfile,
         [](Bed &) {
             SetClassesValue(kClientVersionKey, NULL, REG_SZ, k32);
             SetClassesValue(kClientPathKey, "Other", REG_SZ, k32);
         },
         1, kUnreadable, true},
        {"260 bytes of client path, no terminator", kProfile,
         [](Bed &) {
             SetClassesValue(kClientVersionKey, NULL, REG_SZ, k32);
             SetClassesValue(kClientPathKey, NULL, REG_BINARY, std::string(260, 'p'));
         },
         1, kUnreadable, true},
        {"a client that cannot be started", kProfile,
         [](Bed &) { RegisterClient(k32, REG_SZ, "C:\\no\\such\\client.exe"); }, 1, "", true},
        {"64 KiB client path", kProfile,
         [](Bed &) { RegisterClient(k32, REG_SZ, std::string(65536, 'p')); }, 1, kUnreadable, true},
        {"values of other types", kProfile,
         [](Bed &b) { RegisterClient(k32, REG_DWORD, InstallSampleClient(b.game, "decline")); }, 1,
         "Lumora will not handle the game\n", true},
        {"a quote inside the client path", kProfile,
         [](Bed &b) {
             RegisterClient(k32, REG_SZ,
                            InstallSampleClient(b.game, "takeover") + "\" --injected \"x");
         },
         1, kUnreadable, true},
        {"client command line of 2,047 bytes", kProfile, [](Bed &b) { b.ClientCommandLine(2047); },
         1, "Lumora will not handle the game\n", true},
        {"client command line of 2,048 bytes", kProfile, [](Bed &b) { b.ClientCommandLine(2048); },
         1, "Lumora hand-off skipped: command line too long\n", true},
        {"browser template of 4 KiB", kProfile,
         [](Bed &b) {
             b.Template(REG_SZ, RecorderPath() + " %1 " + std::string(4096, 'a') + '\0');
         },
         1, kNoClientLine, true},
        {"empty browser template", kProfile,
         [](Bed &b) { b.Template(REG_SZ, std::string(1, '\0')); }, 1, kNoClientLine, true},
        {"browser template of another type", kProfile,
         [](Bed &b) { b.Template(REG_DWORD, "abcd"); }, 1, kNoClientLine, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        DeleteClassesTree(kClientRoot);
        // An exact path length, counted from the temporary folder's own.
        std::string sub;
        if (row.profilePathLength > 0) {
            size_t base = TempFolder().Path().size() + deep.size() + strlen("launch.ini");
            sub = deep + std::string(row.profilePathLength - base - 1, 'f') + "\\";
        }
        GameFolder game(sub);
        ASSERT_TRUE(row.profilePathLength == 0 ||
                    row.profilePathLength == game.ProfilePath().size());
        if (!row.profile.empty())
            game.WriteProfile(row.profile);
        Bed bed(game);
        if (row.setUp)
            row.setUp(bed);
        RunOptions options;
        options.args = bed.args;
        options.onDialog = [&bed](HWND dialog) {
            if (bed.browser) {
                PostMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(80, 40));
                PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(80, 40));
            }
            PressOk(dialog);
        };
        GameRun run = RunGame(game, options);
        bed.held.reset();
        bed.browser.reset();
        DeleteClassesTree(kClientRoot);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(row.answer, run.Answer(0));
        EXPECT_EQ(row.output, run.OutputBesidesPainting());
        std::string after = WithoutRecord(game.ReadProfile());
        EXPECT_TRUE(row.profile.empty() || row.keepsOtherBytes == (after == row.profile)) << after;
    }
}

// The upsell picture, placed once by the library in this process: the height it found (0: it
// did not load).
TEST(Hostile, EachPictureGetsItsHeight) {
    struct Row {
        const char *what;
        std::string bytes;
        LONGLONG size; // the file's, zeros after the bytes (0: the bytes alone)
        int height;
    } rows[] = {
        {"truncated", Bmp(100, 100, 24, std::string(100, '\x7f')), 0, 100},
        {"0 bytes", "", 0, 0},
        {"PNG named .bmp", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + std::string(64, '\0'),
         0, 0},
        {"1 bit", Bmp(64, 32, 1, std::string(8 * 32, '\x55')), 0, 32},
        {"32 bits", Bmp(64, 32, 32, std::string(64 * 32 * 4, '\x40')), 0, 32},
        {"60000 x 60000", Bmp(60000, 60000, 1, ""), 62 + 7500LL * 60000, 60000},
    };
    TempFolder folder;
    std::string path = folder.File("pic.bmp");
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 500, 360, NULL, NULL, NULL, NULL);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        WriteFileBytes(path, row.bytes);
        if (row.size > 0) // the rest of a large file: zeros, as the file system gives them
            std::filesystem::resize_file(path, row.size);
        POINT at = {250, 100};
        EXPECT_EQ(row.height, g_Interstitial.PlaceBitmap(window, &path[0], &at));
    }
    DestroyWindow(window);
}

} // namespace
