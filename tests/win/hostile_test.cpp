// Hostile inputs, one row each: what the profile, the registry, the command line, the
// browser's template and the upsell picture can hold. Every row runs the game; the library
// must answer as the row says and never crash, hang or write past a field.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "entry/interstitial.h"
#include "game_fixture.h"

namespace {

const char kProfile[] = "[Main]\r\nGameName=Star Duel\r\n[Upsell]\r\nUpsellGraphic=pic.bmp\r\n";
const std::string k32 = std::string("3.2") + '\0'; // a version as it is registered
const std::string kNoClient = "Failed to find registry entry for 'MainApp'\n";
const std::string kUnreadable = "Failed to read default value of 'MainApp'\n";
const std::string kMissingProfile =
    "launch.ini: ZelInterstitial.dll cannot locate profile, game not launched\n"
    "ZelcInterstitial: Failed to load profile file (No Play)\n";

// What a row's set-up may need, and what it leaves to undo after the run.
struct Bed {
    explicit Bed(GameFolder &game) : game(game) {}
    GameFolder &game;
    std::string args = "3";
    bool clickLogo = false;
    std::vector<std::function<void()>> undo;
    // The browser's command for ".HTM" (the tests that start a browser set their own).
    void Template(DWORD type, const std::string &command) {
        clickLogo = true;
        args = "1";
        SetClassesValue(".HTM", NULL, REG_SZ, std::string("ZiHostile.Page") + '\0');
        SetClassesValue("ZiHostile.Page\\shell\\open\\command", NULL, type, command);
        undo.push_back([] {
            DeleteClassesTree(".HTM");
            DeleteClassesTree("ZiHostile.Page");
        });
    }
    // The upsell picture, placed once by the library in this process; the answer is the
    // height it found (0: it did not load).
    bool picture = false;
    void Picture(const std::string &bytes, LONGLONG size = 0) {
        picture = true;
        WriteFileBytes(game.File("pic.bmp"), bytes);
        if (size > 0) { // the rest of a large file: zeros, as the file system gives them
            std::fstream file(game.File("pic.bmp"),
                              std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(size - 1).put('\0');
        }
    }
    int PlacePicture() {
        HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 500, 360, NULL, NULL, NULL, NULL);
        POINT at = {250, 100};
        int height = g_Interstitial.PlaceBitmap(window, &game.File("pic.bmp")[0], &at);
        DestroyWindow(window);
        return height;
    }
};

// A bottom-up BMP's headers (and for 1 bit, its black-and-white palette) before `pixels`.
std::string Bmp(int32_t width, int32_t height, uint16_t bits, const std::string &pixels) {
    uint32_t palette = bits == 1 ? 8 : 0;
    uint32_t offset = 14 + 40 + palette;
    uint32_t rowBytes = ((uint32_t)width * bits + 31) / 32 * 4;
    uint32_t imageSize = rowBytes * (uint32_t)height;
    uint32_t fields[] = {offset + imageSize,
                         0,
                         offset,
                         40,
                         (uint32_t)width,
                         (uint32_t)height,
                         1u | (uint32_t)bits << 16,
                         0,
                         imageSize,
                         2835,
                         2835,
                         0,
                         0};
    std::string bytes = "BM";
    bytes.append((const char *)fields, sizeof fields);
    if (bits == 1)
        bytes.append("\0\0\0\0\xff\xff\xff\0", 8);
    return bytes + pixels;
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
        int answer;           // the first call's, or for a picture the height placed
        std::string output;   // the debug output besides painting
        bool keepsOtherBytes; // the profile's other bytes are as they were
    } rows[] = {
        {"profile of zero bytes", "", [](Bed &b) { b.game.WriteProfile(""); }, 0, kMissingProfile,
         true},
        {"UTF-8 byte order mark", "\xef\xbb\xbf" + std::string(kProfile), nullptr, 1, kNoClient,
         true},
        {"UTF-16 byte order mark", std::string("\xff\xfe[\0M\0a\0i\0n\0]\0\r\0\n\0", 18), nullptr,
         1, kNoClient, false},
        {"LF line ends", "[Main]\nGameName=Star Duel\n\n[Upsell]\nUpsellLine1=x\n", nullptr, 1,
         kNoClient, false},
        {"a folder named launch.ini", "",
         [](Bed &b) { CreateDirectoryA(b.game.ProfilePath().c_str(), NULL); }, 0, kMissingProfile,
         true},
        {"profile locked by another process", kProfile,
         [](Bed &b) {
             HANDLE file = CreateFileA(b.game.ProfilePath().c_str(), GENERIC_READ, 0, NULL,
                                       OPEN_EXISTING, 0, NULL);
             b.undo.push_back([file] { CloseHandle(file); });
         },
         1, kNoClient, true},
        {"10,000-character values",
         "[Main]\r\nGameName=" + name10k + "\r\nLogoURL=" + name10k +
             "\r\n[Upsell]\r\nUpsellLine1=" + name10k + "\r\n",
         nullptr, 1, kNoClient, true},
        {"profile path of 259 characters", "", nullptr, 1, kNoClient, true},
        {"profile path of 260 characters", "", nullptr, 0, kMissingProfile, true},
        {"64 KiB version", kProfile,
         [](Bed &) { RegisterClient(std::string(65536, '9'), REG_SZ, "C:\\x.exe"); }, 1, kNoClient,
         true},
        {"16-character version", kProfile,
         [](Bed &) { RegisterClient(std::string(16, '9') + '\0', REG_SZ, "C:\\x.exe"); }, 1,
         kNoClient, true},
        {"16 bytes of version, no terminator", kProfile,
         [](Bed &) { RegisterClient(std::string(16, '9'), REG_BINARY, "C:\\x.exe"); }, 1, kNoClient,
         true},
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
        {"client command line of 2,047 bytes", kProfile, nullptr, 1,
         "Lumora will not handle the game\n", true},
        {"client command line of 2,048 bytes", kProfile, nullptr, 1,
         "Lumora hand-off skipped: command line too long\n", true},
        {"browser template of 4 KiB", kProfile,
         [](Bed &b) {
             b.Template(REG_SZ, "\"" + BinFolder() + "browser_recorder.exe\" %1 " +
                                    std::string(4096, 'a') + '\0');
         },
         1, kNoClient, true},
        {"empty browser template", kProfile,
         [](Bed &b) { b.Template(REG_SZ, std::string(1, '\0')); }, 1, kNoClient, true},
        {"browser template of another type", kProfile,
         [](Bed &b) { b.Template(REG_DWORD, "abcd"); }, 1, kNoClient, true},
        {"truncated picture", kProfile,
         [](Bed &b) { b.Picture(Bmp(100, 100, 24, std::string(100, '\x7f'))); }, 100, "", true},
        {"picture of 0 bytes", kProfile, [](Bed &b) { b.Picture(""); }, 0, "", true},
        {"PNG named .bmp", kProfile,
         [](Bed &b) {
             b.Picture(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + std::string(64, '\0'));
         },
         0, "", true},
        {"1-bit picture", kProfile,
         [](Bed &b) { b.Picture(Bmp(64, 32, 1, std::string(8 * 32, '\x55'))); }, 32, "", true},
        {"32-bit picture", kProfile,
         [](Bed &b) { b.Picture(Bmp(64, 32, 32, std::string(64 * 32 * 4, '\x40'))); }, 32, "",
         true},
        {"picture of 60000 x 60000", kProfile,
         [](Bed &b) { b.Picture(Bmp(60000, 60000, 1, ""), 62 + 7500LL * 60000); }, 60000, "", true},
    };
    for (Row &row : rows) {
        SCOPED_TRACE(row.what);
        DeleteClassesTree("Software\\Corvane");
        std::string what = row.what;
        bool longPath = what.find("profile path of") == 0;
        // 259 or 260 characters from the temporary folder's own length.
        std::string sub;
        size_t wanted = what.find("259") != std::string::npos ? 259 : 260;
        if (longPath) {
            size_t base = TempFolder().Path().size() + deep.size() + strlen("launch.ini");
            sub = deep + std::string(wanted - base - 1, 'f') + "\\";
        }
        GameFolder game(sub);
        ASSERT_TRUE(!longPath || wanted == game.ProfilePath().size());
        if (longPath)
            row.profile = kProfile;
        if (!row.profile.empty())
            game.WriteProfile(row.profile);
        Bed bed(game);
        if (what.find("client command line") == 0) {
            RegisterClient(k32, REG_SZ, InstallSampleClient(game, "decline"));
            // "client" --ini="<folder>\launch.ini" --cmdline="<game>" 3 2xx...
            std::string line = "\"" + game.File("portal.exe") + "\" --ini=\"" + game.Path() +
                               "launch.ini\" --cmdline=\"" + game.ExePath() + "\" 3 2";
            size_t length = what.find("2,047") != std::string::npos ? 2047 : 2048;
            bed.args = "3 2" + std::string(length - line.size(), 'x');
        }
        if (row.setUp)
            row.setUp(bed);
        if (bed.picture) {
            EXPECT_EQ(row.answer, bed.PlacePicture());
            continue;
        }
        RunOptions options;
        options.args = bed.args;
        options.onDialog = [&bed](HWND dialog) {
            if (bed.clickLogo) {
                PostMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(80, 40));
                PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(80, 40));
            }
            PressOk(dialog);
        };
        GameRun run = RunGame(game, options);
        for (auto &undo : bed.undo)
            undo();
        DeleteClassesTree("Software\\Corvane");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(row.answer, run.Answer(0));
        EXPECT_EQ(row.output, run.OutputBesidesPainting());
        std::string after = WithoutRecord(game.ReadProfile());
        EXPECT_TRUE(row.profile.empty() || row.keepsOtherBytes == (after == row.profile)) << after;
    }
}

} // namespace
