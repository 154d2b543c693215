// Runs the stub game under a debugger loop: the library's OutputDebugStringA texts arrive as
// debug events, and the game's windows are answered between events.
#include "game_fixture.h"

#include "debug_loop.h"
#include "dialog_capture.h"

#include <set>

#include <gtest/gtest.h>

GameFolder::GameFolder() {
    std::string bin = BinFolder();
    EXPECT_TRUE(CopyFileA((bin + "game_stub.exe").c_str(), ExePath().c_str(), FALSE));
    EXPECT_TRUE(CopyFileA((bin + "ZelInterstitial.dll").c_str(),
                          File("ZelInterstitial.dll").c_str(), FALSE));
}

void PressOk(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

namespace {

BOOL CALLBACK LongestStaticText(HWND hwnd, LPARAM param) {
    std::string *longest = reinterpret_cast<std::string *>(param);
    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (_stricmp(className, "Static") == 0) {
        char text[1024] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        if (strlen(text) > longest->size())
            *longest = text;
    }
    return TRUE;
}

std::string WindowText(HWND hwnd) {
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

void AnswerWindows(DWORD processId, const RunOptions &options, std::set<HWND> &answered,
                   GameRun &run) {
    for (HWND hwnd : ProcessDialogs(processId)) {
        if (answered.count(hwnd))
            continue;
        answered.insert(hwnd);
        // A message box has buttons; the interstitial has no controls at all.
        if (GetWindow(hwnd, GW_CHILD) != NULL) {
            BoxSeen box;
            box.caption = WindowText(hwnd);
            EnumChildWindows(hwnd, LongestStaticText, reinterpret_cast<LPARAM>(&box.text));
            box.style = 0;
            HWND icon = FindWindowExA(hwnd, NULL, "Static", "");
            if (icon != NULL && (GetWindowLongA(icon, GWL_STYLE) & SS_ICON))
                box.style |= MB_ICONERROR;  // the only icon the library asks for
            run.boxes.push_back(box);
            PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        } else {
            run.dialogTitles.push_back(WindowText(hwnd));
            if (options.onDialog)
                options.onDialog(hwnd);
            else
                PressOk(hwnd);
        }
    }
}

// A breakpoint on a system function in the game. System DLLs sit at the same address in
// every process, so the trap is set once the function's bytes appear there (at the loader's
// breakpoint, or when the DLL holding it is loaded). `onCall` sees the call's registers and
// returns true to stop trapping; otherwise the call is stepped over and the trap set again.
class FunctionTrap {
public:
    typedef std::function<bool(HANDLE process, const CONTEXT &call)> CallHook;
    FunctionTrap(const char *module, const char *function, CallHook onCall)
        : onCall_(onCall) {
        HMODULE dll = LoadLibraryA(module);
        if (dll != NULL)
            address_ = (BYTE *)(void *)GetProcAddress(dll, function);
    }

    void TryArm(HANDLE process) {
        if (!onCall_ || address_ == NULL || armed_ || stepping_ || done_)
            return;
        process_ = process;
        BYTE theirs[16];
        SIZE_T got = 0;
        if (ReadProcessMemory(process, address_, theirs, sizeof theirs, &got) &&
            memcmp(theirs, address_, sizeof theirs) == 0) {
            original_ = theirs[0];
            Write(0xcc);
        }
    }

    // True when the exception was this trap's own.
    bool Handle(const DEBUG_EVENT &event) {
#ifdef _WIN64
        const EXCEPTION_RECORD &record = event.u.Exception.ExceptionRecord;
        if (record.ExceptionCode == EXCEPTION_SINGLE_STEP && stepping_) {
            stepping_ = false;
            Write(0xcc);
            return true;
        }
        if (record.ExceptionCode != EXCEPTION_BREAKPOINT || !armed_ ||
            record.ExceptionAddress != address_)
            return false;
        HANDLE thread = OpenThread(THREAD_ALL_ACCESS, FALSE, event.dwThreadId);
        CONTEXT context = {};
        context.ContextFlags = CONTEXT_FULL;
        GetThreadContext(thread, &context);
        Write(original_);
        context.Rip = (DWORD64)(ULONG_PTR)address_;
        if (onCall_(process_, context)) {
            done_ = true;
        } else {
            context.EFlags |= 0x100;  // step over this call, then set the trap again
            stepping_ = true;
        }
        SetThreadContext(thread, &context);
        CloseHandle(thread);
        return true;
#else
        (void)event;
        return false;
#endif
    }

private:
    void Write(BYTE value) {
        SIZE_T written = 0;
        WriteProcessMemory(process_, address_, &value, 1, &written);
        FlushInstructionCache(process_, address_, 1);
        armed_ = value == 0xcc;
    }

    CallHook onCall_;
    HANDLE process_ = NULL;
    BYTE *address_ = NULL;
    BYTE original_ = 0;
    bool armed_ = false;
    bool stepping_ = false;
    bool done_ = false;
};

#ifdef _WIN64
// The game about to begin the hand-off's wait: three handles and the 40-second timeout.
FunctionTrap::CallHook PortalWaitHook(const RunOptions &options) {
    if (!options.atPortalWait)
        return nullptr;
    return [&options](HANDLE process, const CONTEXT &call) {
        if (call.Rcx != 3 || call.R9 != 40000)
            return false;
        HANDLE handles[3] = {};
        SIZE_T got = 0;
        ReadProcessMemory(process, (void *)(ULONG_PTR)call.Rdx, handles, sizeof handles, &got);
        options.atPortalWait(process, handles);
        return true;
    };
}

// Every PlaySoundA call: its file name and flags.
FunctionTrap::CallHook SoundHook(const RunOptions &options, GameRun &run) {
    if (!options.recordSounds)
        return nullptr;
    return [&run](HANDLE process, const CONTEXT &call) {
        char name[261] = "";
        SIZE_T got = 0;
        ReadProcessMemory(process, (void *)(ULONG_PTR)call.Rcx, name, sizeof name - 1, &got);
        run.sounds.push_back({name, (DWORD)call.R8});
        return false;
    };
}
#else
FunctionTrap::CallHook PortalWaitHook(const RunOptions &) {
    return nullptr;
}
FunctionTrap::CallHook SoundHook(const RunOptions &, GameRun &) {
    return nullptr;
}
#endif

}  // namespace

static const DWORD kStoppedExitCode = 0xdead;

GameRun RunGame(const GameFolder &folder, const RunOptions &options) {
    GameRun run;
    run.commandLine = "\"" + folder.ExePath() + "\" " + options.args;
    std::string directory = options.workingDir.empty() ? folder.Path() : options.workingDir;

    std::set<HWND> answered;
    FunctionTrap portalWait("kernel32.dll", "WaitForMultipleObjects", PortalWaitHook(options));
    FunctionTrap sound("winmm.dll", "PlaySoundA", SoundHook(options, run));
    DWORD started = GetTickCount();
    bool stopped = false;
    DebugLoopHooks hooks;
    hooks.onDebugString = [&](const std::string &piece) {
        run.debugPieces.push_back(piece);
        run.debugOutput += piece;
        if (options.onDebugString)
            options.onDebugString(piece);
    };
    hooks.onIdle = [&](HANDLE process, DWORD processId) {
        AnswerWindows(processId, options, answered, run);
        if (!stopped && GetTickCount() - started > options.timeLimitMs) {
            ADD_FAILURE() << run.commandLine << " still runs after " << options.timeLimitMs
                          << " ms; stopped";
            TerminateProcess(process, kStoppedExitCode);
            stopped = true;
        }
    };
    hooks.onLoaderBreakpoint = [&](HANDLE process) { portalWait.TryArm(process); };
    hooks.onLoadDll = [&](HANDLE process) { sound.TryArm(process); };
    hooks.onException = [&](const DEBUG_EVENT &event) {
        return portalWait.Handle(event) || sound.Handle(event);
    };

    if (!RunUnderDebugger(run.commandLine, directory, hooks, &run.exitCode)) {
        ADD_FAILURE() << "cannot start " << run.commandLine << ": error " << GetLastError();
        return run;
    }
    run.finished = !stopped;
    // Codes from 0x100 up are the stub's own failures (a broken call, a missing export; see
    // game_stub.cpp) or a crash, never answers.
    if (run.finished && run.exitCode >= 0x100)
        ADD_FAILURE() << run.commandLine << " failed on its own: exit code 0x" << std::hex
                      << run.exitCode << std::dec;
    return run;
}

std::string GameField(const GameFolder &folder, const std::string &name) {
    std::string fields = ReadFileBytes(folder.File("fields.txt"));
    std::string key = name + "=";
    size_t at = fields.compare(0, key.size(), key) == 0 ? 0 : fields.find("\n" + key);
    if (at == std::string::npos)
        return "<missing " + name + ">";
    if (at != 0)
        at++;
    size_t end = fields.find('\n', at);
    return fields.substr(at + key.size(), end - at - key.size());
}

bool DllHasDialogTemplate() {
    HMODULE dll = LoadLibraryExA((BinFolder() + "ZelInterstitial.dll").c_str(), NULL,
                                 LOAD_LIBRARY_AS_DATAFILE);
    bool found = dll != NULL && FindResourceA(dll, MAKEINTRESOURCEA(104), (LPCSTR)RT_DIALOG);
    if (dll != NULL)
        FreeLibrary(dll);
    return found;
}

GameRun RunGame(const GameFolder &folder, const std::string &args) {
    RunOptions options;
    options.args = args;
    return RunGame(folder, options);
}

std::string GameRun::OutputBesidesPainting() const {
    std::string output;
    for (const std::string &piece : debugPieces) {
        if (piece.compare(0, 17, "ZelInterstitial: ") != 0)
            output += piece;
    }
    return output;
}

std::string RecordInProfile(const std::string &profile) {
    size_t at = profile.find("Lumora=");
    if (at == std::string::npos)
        return "<none>";
    size_t end = profile.find_first_of("\r\n", at);
    return profile.substr(at + 7, end - at - 7);
}
