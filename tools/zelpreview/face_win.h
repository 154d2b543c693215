// The library's face painted by its own exported drawing members on a window of zelpreview's,
// and the game folder's profile loaded by its own LoadProfile.
#pragma once
#include <windows.h>

#include <string>

#include "dialog_capture.h"

// A borderless, topmost 500 x 360 window in the screen's top left corner, like the dialog's
// client area. The library draws into it through window DCs of its own.
class FaceWindow {
  public:
    FaceWindow();
    ~FaceWindow();
    bool Ok() const {
        return hwnd_ != NULL;
    }
    int BitsPerPixel() const;
    int DotsPerInch() const;
    // Runs the dialog's paint sequence on g_Interstitial (at start, or at exit with the exit
    // overlay) and reads the result back from the screen, as the player would see it.
    Capture Paint(bool atExit);

  private:
    HWND hwnd_;
};

// Where zelpreview copies a game's profile for the library to read: the library takes the
// profile from beside the running program, so zelpreview hands LoadProfile the way there from
// its own folder. The copy keeps the game's own file untouched (the library clears a read-only
// attribute of the file it loads).
class ProfileStage {
  public:
    // Picks a folder on zelpreview.exe's drive: inside `outDir`, the temporary folder or the
    // program's folder.
    explicit ProfileStage(const std::string &outDir);
    ~ProfileStage();
    const std::string &Problem() const {
        return problem_;
    }
    // Loads FOLDER\launch.ini into g_Interstitial. On failure `reason` says why, in the words
    // the library shows the player, and what zelpreview found in the folder.
    bool Load(const std::string &folder, std::string *reason);

  private:
    std::string folder_;      // the stage folder, ending in a backslash
    std::string fromProgram_; // the stage's launch.ini as seen from zelpreview.exe's folder
    std::string problem_;
};

// The full path of `path` (relative to the current directory); empty when it does not fit.
std::string FullPath(const std::string &path);
