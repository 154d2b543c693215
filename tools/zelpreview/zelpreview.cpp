// zelpreview: a game's interstitial, both faces and every hot zone, without running the game.
//
//   zelpreview [--out DIR] [--zones] [--sheet FILE.png] [--depth 8|24] [--dpi 96|120|144]
//              GAMEFOLDER...
//
// For each folder the library (ZelInterstitial.dll beside this program) loads the folder's
// launch.ini with its own LoadProfile and paints the start and the exit face with its own
// drawing members, the upsell picture found from the folder as the game's working directory.
// Writes DIR\NAME-start.png and DIR\NAME-exit.png (NAME: the folder's name), with --zones also
// NAME-start-zones.png and NAME-exit-zones.png, and one line per file written. Nothing is
// written into a profile; no sound, browser or portal is involved.
//
// The library picks its pictures by the display's colour depth and sizes its fonts by the
// display's dots per inch, so the faces are those of the display zelpreview runs on. --depth
// and --dpi state which display the faces are meant for: zelpreview checks it has that one
// and stops with exit code 2 when it has not (make preview DEPTH=8 DPI=120 provides one).
//
// Exit codes: 0 every folder previewed; 1 a folder has no usable profile (the others are
// still previewed); 2 usage, display or output problems.
#include <windows.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "annotate_win.h"
#include "ZelInterstitial.h"
#include "dialog/layout.h"
#include "face_win.h"
#include "zi_config.h"

namespace {

struct Options {
    std::string outDir = ".";
    std::string sheet;
    bool zones = false;
    int depth = 0; // 0: whatever the display has
    int dpi = 0;
    std::vector<std::string> folders;
};

const char kUsage[] = "usage: zelpreview [--out DIR] [--zones] [--sheet FILE.png] "
                      "[--depth 8|24] [--dpi 96|120|144] GAMEFOLDER...\n";

bool ParseOptions(int argc, char **argv, Options *options) {
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--zones") {
            options->zones = true;
        } else if (arg == "--out" && hasValue) {
            options->outDir = argv[++i];
        } else if (arg == "--sheet" && hasValue) {
            options->sheet = argv[++i];
        } else if (arg == "--depth" && hasValue) {
            options->depth = atoi(argv[++i]);
            if (options->depth != 8 && options->depth != 24)
                return false;
        } else if (arg == "--dpi" && hasValue) {
            options->dpi = atoi(argv[++i]);
            if (options->dpi != 96 && options->dpi != 120 && options->dpi != 144)
                return false;
        } else if (arg.compare(0, 2, "--") == 0) {
            return false;
        } else {
            options->folders.push_back(arg);
        }
    }
    return !options->folders.empty();
}

// The display must be the one asked for: the library decides by it, not by an option.
bool DisplayMatches(const FaceWindow &window, const Options &options) {
    int bits = window.BitsPerPixel(), dpi = window.DotsPerInch();
    // The library's own threshold: 8 bits or fewer picks the 256-colour pictures.
    if (options.depth != 0 && (options.depth == 8) != (bits <= 8)) {
        fprintf(stderr,
                "zelpreview: --depth %d, but the display has %d bits per pixel; run on a "
                "display of that depth (make preview DEPTH=%d)\n",
                options.depth, bits, options.depth);
        return false;
    }
    if (options.dpi != 0 && options.dpi != dpi) {
        fprintf(stderr,
                "zelpreview: --dpi %d, but the display has %d dots per inch; set the display's "
                "scaling to %d%% (make preview DPI=%d)\n",
                options.dpi, dpi, options.dpi * 100 / 96, options.dpi);
        return false;
    }
    return true;
}

std::string FolderName(const std::string &folder) {
    std::string full = FullPath(folder);
    while (!full.empty() && (full.back() == '\\' || full.back() == '/'))
        full.pop_back();
    size_t slash = full.find_last_of("\\/:");
    return slash == std::string::npos ? full : full.substr(slash + 1);
}

bool Write(const std::string &path, const Capture &picture) {
    if (!WritePng(path, picture)) {
        fprintf(stderr, "zelpreview: cannot write %s\n", path.c_str());
        return false;
    }
    printf("zelpreview: wrote %s (%d x %d)\n", path.c_str(), picture.width, picture.height);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        fputs(kUsage, stderr);
        return 2;
    }
    FaceWindow window;
    if (!window.Ok()) {
        fprintf(stderr, "zelpreview: cannot create a window (error %lu)\n", GetLastError());
        return 2;
    }
    if (!DisplayMatches(window, options))
        return 2;
    CreateDirectoryA(options.outDir.c_str(), NULL);
    ProfileStage stage(options.outDir);
    if (!stage.Problem().empty()) {
        fprintf(stderr, "zelpreview: %s\n", stage.Problem().c_str());
        return 2;
    }
    char startDir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof startDir, startDir);

    int status = 0;
    std::vector<SheetEntry> sheet;
    for (const std::string &folder : options.folders) {
        std::string name = FolderName(folder), full = FullPath(folder), reason;
        if (full.empty() || !stage.Load(full, &reason)) {
            printf("zelpreview: %s: no usable profile: %s\n", folder.c_str(),
                   full.empty() ? "the path is too long" : reason.c_str());
            status = 1;
            continue;
        }
        // The upsell picture is found from the game's working directory: the game's folder.
        SetCurrentDirectoryA(full.c_str());
        Capture start = window.Paint(false);
        // The text at the gap alone: PlaceBitmap gave the picture height 0.
        bool noUpsell = g_Interstitial.m_nUpsellTextTop == kUpsellTextBelowPicture;
        Capture exit = window.Paint(true);
        SetCurrentDirectoryA(startDir);
        if (noUpsell)
            printf("zelpreview: %s: the upsell picture \"%s\" cannot be loaded; the faces show "
                   "none, as the game would\n",
                   folder.c_str(), g_Interstitial.m_szUpsellGraphic);

        std::string base = options.outDir + "\\" + name;
        bool ok = Write(base + "-start.png", start) && Write(base + "-exit.png", exit);
        if (ok && options.zones) {
            // The logo opens the portal home the library is built with.
            ZoneAddresses addresses = {g_Interstitial.GetTamselUrl(), g_Interstitial.GetUpsellUrl(),
                                       ZI_PORTAL_HOME_HOST};
            ok = Write(base + "-start-zones.png", ZonesPicture(start, false, addresses)) &&
                 Write(base + "-exit-zones.png", ZonesPicture(exit, true, addresses));
        }
        if (!ok)
            return 2;
        std::string title = g_Interstitial.GetGameName();
        for (char &c : title)
            c = c == '\n' ? ' ' : c;
        sheet.push_back({name + ": " + title, start, exit});
    }
    if (!options.sheet.empty() && !sheet.empty() && !Write(options.sheet, ContactSheet(sheet)))
        return 2;
    return status;
}
