// Painting through CInterstitial's exported drawing members and loading through its exported
// LoadProfile: what zelpreview shows is what the library itself draws from what it reads.
#include "face_win.h"

#include "../../res/resource_ids.h"
#include "ZelInterstitial.h"
#include "common/text.h"
#include "profile/profile_name.h"
#include "relative_path.h"

namespace {

const char kClassName[] = "ZelPreviewFace";
const int kWidth = 500, kHeight = 360;

LRESULT CALLBACK FaceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the library paints every pixel; an erase would only flicker
    case WM_PAINT: {
        // Validated only: the faces are painted on purpose, one at a time.
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

int WindowDeviceCaps(HWND hwnd, int index) {
    HDC dc = GetDC(hwnd);
    int value = GetDeviceCaps(dc, index);
    ReleaseDC(hwnd, dc);
    return value;
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return "";
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string LibraryString(UINT id) {
    char text[128] = "";
    LoadStringA(GetModuleHandleA("ZelInterstitial.dll"), id, text, sizeof text);
    return text;
}

} // namespace

std::string FullPath(const std::string &path) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, NULL);
    return length > 0 && length < sizeof full ? std::string(full, length) : "";
}

FaceWindow::FaceWindow() : hwnd_(NULL) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FaceProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "zelpreview", WS_POPUP, 0,
                            0, kWidth, kHeight, NULL, NULL, windowClass.hInstance, NULL);
    if (hwnd_ == NULL)
        return;
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    PumpThreadMessages();
}

FaceWindow::~FaceWindow() {
    if (hwnd_ != NULL)
        DestroyWindow(hwnd_);
    UnregisterClassA(kClassName, GetModuleHandleA(NULL));
}

int FaceWindow::BitsPerPixel() const {
    return WindowDeviceCaps(hwnd_, BITSPIXEL);
}

int FaceWindow::DotsPerInch() const {
    return WindowDeviceCaps(hwnd_, LOGPIXELSY);
}

Capture FaceWindow::Paint(bool atExit) {
    // The dialog's paint sequence, member by member, as the dialog runs it on WM_PAINT.
    g_Interstitial.m_bLaunching = atExit ? 0 : 1;
    g_Interstitial.ShowLaunchDialog(hwnd_);
    g_Interstitial.ShowGameName(hwnd_);
    g_Interstitial.ShowOrsoloGraphic(hwnd_);
    g_Interstitial.ShowGamesText(hwnd_);
    g_Interstitial.ShowUpsellGraphic(hwnd_);
    g_Interstitial.ShowUpsellText(hwnd_);
    g_Interstitial.ShowButtonLabels(hwnd_);
    GdiFlush();
    // Read from the screen the way the demo and the tests read the live dialog, so the two
    // pictures can be compared byte for byte.
    Capture face = CaptureSettled(hwnd_);
    return face.width == kWidth && face.height == kHeight ? face : Capture();
}

ProfileStage::ProfileStage(const std::string &outDir) {
    std::string program = ProgramFolder();
    char temp[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof temp, temp);
    // Under Wine the temporary folder lies on C: while programs often run from Z:, so the
    // program's own folder is the last resort.
    std::string candidates[] = {FullPath(outDir),
                                length > 0 && length < sizeof temp ? temp : std::string(), program};
    for (const std::string &base : candidates) {
        if (base.empty())
            continue;
        std::string folder = base + (base.back() == '\\' ? "" : "\\") + ".zelpreview-" +
                             std::to_string(GetCurrentProcessId()) + "\\";
        std::string way;
        if (!program.empty() && RelativePath(program, folder + kProfileFileName, &way) &&
            way.size() < MAX_PATH - program.size() &&
            (CreateDirectoryA(folder.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS)) {
            folder_ = folder;
            fromProgram_ = way;
            return;
        }
    }
    problem_ = "no folder for the profile's copy on the drive of " + program +
               " (the output folder and the temporary folder lie elsewhere, and the program's "
               "folder cannot be written)";
}

ProfileStage::~ProfileStage() {
    if (folder_.empty())
        return;
    std::string copy = folder_ + kProfileFileName;
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder_.c_str());
}

bool ProfileStage::Load(const std::string &folder, std::string *reason) {
    std::string source = folder + "\\" + kProfileFileName, copy = folder_ + kProfileFileName;
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(copy.c_str());
    // No file, no copy: the library then finds none, as it would in the game's folder.
    WIN32_FILE_ATTRIBUTE_DATA found;
    bool present = GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &found) != 0 &&
                   (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (present && !CopyFileA(source.c_str(), copy.c_str(), FALSE)) {
        *reason = "cannot read " + source + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    std::vector<char> name(fromProgram_.begin(), fromProgram_.end());
    name.push_back('\0');
    if (g_Interstitial.LoadProfile(name.data()))
        return true;
    // The words of the library's error box, formatted as the library formats them, on one line.
    char text[388];
    FormatWithOneText(text, sizeof text, LibraryString(IDS_PROFILE_ERROR_TEXT).c_str(),
                      kProfileFileName);
    std::string words = LibraryString(IDS_PROFILE_ERROR_CAPTION) + ": " + text, line;
    for (char c : words) {
        c = c == '\n' ? ' ' : c;
        if (c != ' ' || line.empty() || line.back() != ' ')
            line += c;
    }
    *reason = line + (present ? " (the file has " + std::to_string(found.nFileSizeLow) +
                                    " bytes; the library needs more than " +
                                    std::to_string(kProfileUnusableBytes) + ")"
                              : " (there is no " + source + ")");
    return false;
}
