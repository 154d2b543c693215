// The hand-off to the portal client: registry lookup, the three named events, the client's
// command line and the order its handles close in, each verdict's line, with the sample client
// as the portal (every verdict against the flags, its record and the exit call: the soak,
// tests/soak).
#include <gtest/gtest.h>

#include <map>

#include "entry/interstitial.h"
#include "game_fixture.h"
#include "portal/portal_win.h"

namespace {

// The sample client in a folder of its own, registered under HKEY_CLASSES_ROOT.
class PortalClient : public TempFolder {
  public:
    explicit PortalClient(const char *answer) {
        DeleteClassesTree(kClientRoot);
        exe = InstallSampleClient(*this, answer);
        RegisterClient(std::string("3.2") + '\0', REG_SZ, exe);
    }
    ~PortalClient() { DeleteClassesTree(kClientRoot); }
    std::string exe; // the client's program
    // The client's log once it has finished (and closed its events), or "" if it never ran.
    std::string Log(DWORD waitMs = 10000) const {
        return ReadFileHolding(File("sample_portal.log"), "finished\n", waitMs);
    }
};

TEST(Portal, TheClientGetsTheIniAndTheGamesCommandLine) {
    PortalClient client("decline");
    GameFolder game;
    TempFolder elsewhere; // with a profile that is not the game's
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    WriteFileBytes(elsewhere.File("launch.ini"), "[Main]\r\nGameName=Wrong One\r\n");
    RunOptions options;
    options.args = "3 -windowed \"two words\"";
    options.workingDir = elsewhere.Path();
    GameRun run = RunGame(game, options);
    ASSERT_TRUE(run.finished);
    std::string folder = elsewhere.Path().substr(0, elsewhere.Path().size() - 1);
    std::string expected = "command line: \"" + client.exe + "\" --ini=\"" + folder +
                           "\\launch.ini\" --cmdline=" + run.commandLine + "\n";
    std::string log = client.Log();
    EXPECT_EQ(expected, log.substr(0, log.find('\n') + 1));
    // The client starts in "." of the game, its current directory.
    EXPECT_NE(std::string::npos, log.find("working directory: " + folder + "\n")) << log;
    // The profile is the one beside the executable, whatever the working directory.
    EXPECT_EQ("No", ProfileRecord(game));
    EXPECT_EQ("<none>", RecordInProfile(ReadFileBytes(elsewhere.File("launch.ini"))));
}

// The hand-off in this process, its kernel32 calls seen through this program's import slots
// (the library's objects are linked in): each recorder notes the call and makes it for real.
namespace trace {
std::string calls;
std::map<HANDLE, std::string> names; // the events
bool on = false;
decltype(&CreateEventA) createEvent;
decltype(&CloseHandle) close;
decltype(&OutputDebugStringA) debug;

HANDLE WINAPI OnCreateEvent(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL set, LPCSTR name) {
    HANDLE event = createEvent(security, manual, set, name);
    DWORD error = GetLastError();
    if (on && event != NULL) {
        names[event] = name + strlen("LumoraIniLaunch_");
        calls += "create " + names[event] + "\n";
    }
    SetLastError(error);
    return event;
}
// The events by name; the client's process and thread, which only the hand-off opens.
BOOL WINAPI OnClose(HANDLE handle) {
    auto named = names.find(handle);
    if (on && named != names.end()) {
        calls += "close " + named->second + "\n";
        names.erase(named);
    } else if (on) {
        calls += GetProcessId(handle) != 0 ? "close process\n"
                 : GetThreadId(handle) != 0 ? "close thread\n"
                                            : "close other\n";
    }
    return close(handle);
}
void WINAPI OnDebug(LPCSTR text) {
    if (on)
        calls += text;
    debug(text);
}

// Points this program's import of a kernel32 function at `hook`; returns the function.
template <typename F> F Hook(const char *function, F hook) {
    BYTE *base = (BYTE *)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    F real = (F)(void *)GetProcAddress(GetModuleHandleA("kernel32.dll"), function);
    for (auto *dll = (IMAGE_IMPORT_DESCRIPTOR *)(base + imports); dll->Name != 0; dll++) {
        for (F *slot = (F *)(base + dll->FirstThunk); *slot != NULL; slot++) {
            DWORD was = 0;
            if (*slot == real && VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was)) {
                *slot = hook;
                VirtualProtect(slot, sizeof *slot, was, &was);
            }
        }
    }
    return real;
}
} // namespace trace

// The events close on every path, the one found in use first, then in creation order (a name
// in use starts no client); the client's process and thread close last, after the wait and
// the events.
TEST(PortalTrace, HandlesCloseInTheirOrder) {
    static const bool hooked = [] {
        trace::createEvent = trace::Hook("CreateEventA", &trace::OnCreateEvent);
        trace::close = trace::Hook("CloseHandle", &trace::OnClose);
        trace::debug = trace::Hook("OutputDebugStringA", &trace::OnDebug);
        return true;
    }();
    (void)hooked;
    const std::string created = "create Play\ncreate Exit\ncreate Play_Silent\n";
    const std::string closed = "close Play\nclose Exit\nclose Play_Silent\nclose process\n"
                               "close thread\n";
    // The verdict's line is written once the wait is over; a client that ends without an answer
    // leaves the wait to run out its 40 seconds. A skipped hand-off keeps the earlier flag.
    struct Row {
        const char *answer, *held;
        int outcome, handled;
        std::string calls;
        DWORD atLeastMs = 0;
    } rows[] = {
        {"none", NULL, 1, 0,
         created + "Lumora event timeout\nLumora will not handle the game\n" + closed, 39000},
        {"decline", NULL, 1, 0, created + "Lumora will not handle the game\n" + closed},
        {"takeover", NULL, 2, 1, created + "Lumora will take over\n" + closed},
        {"launched", NULL, 1, 1, created + "Lumora launched the game\n" + closed},
        {"takeover", "Play_Silent", 0, 1, created + "close Play_Silent\nclose Play\nclose Exit\n"},
        {"decline", "Exit", 0, 1, "create Play\ncreate Exit\nclose Exit\nclose Play\n"},
        {"decline", "Play", 0, 1, "create Play\nclose Play\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.answer) + (row.held ? ", held " : "") +
                     (row.held ? row.held : ""));
        PortalClient client(row.answer);
        HANDLE held = row.held ? CreateEventA(NULL, TRUE, FALSE,
                                              (std::string("LumoraIniLaunch_") + row.held).c_str())
                               : NULL;
        static CInterstitial game;
        trace::calls.clear();
        trace::on = true;
        DWORD began = GetTickCount();
        int outcome = RunPortalHandOff(game, "game.exe");
        EXPECT_GE(GetTickCount() - began, row.atLeastMs);
        trace::on = false;
        if (held != NULL)
            CloseHandle(held);
        client.Log(row.held ? 0 : 10000);
        EXPECT_EQ(row.outcome, outcome);
        EXPECT_EQ(row.handled, game.m_bPortalHandled);
        EXPECT_EQ(row.calls, trace::calls);
    }
}

} // namespace
