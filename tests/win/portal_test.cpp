// The hand-off to the portal client: registry lookup, the three named events, the client's
// command line and every verdict, with the sample client as the portal.
#include <gtest/gtest.h>

#include "game_fixture.h"

namespace {

const char kLumoraKey[] = "Software\\Corvane";
const char kVersionKey[] = "Software\\Corvane\\Lumora\\CurrentVersion";
const char *const kEventNames[] = {"LumoraIniLaunch_Exit", "LumoraIniLaunch_Play",
                                   "LumoraIniLaunch_Play_Silent"};

std::string MainAppKey(const std::string &version) {
    return "Software\\Corvane\\Lumora\\" + version + "\\Preferences\\MainApp";
}

// The sample client in a folder of its own, registered under HKEY_CLASSES_ROOT.
class PortalClient : public TempFolder {
public:
    explicit PortalClient(const char *answer, const std::string &version = "3.2") {
        DeleteClassesTree(kLumoraKey);
        EXPECT_TRUE(CopyFileA((BinFolder() + "sample_portal.exe").c_str(), ExePath().c_str(),
                              FALSE));
        WriteFileBytes(File("sample_portal.ini"), std::string("[Portal]\r\nAnswer=") + answer);
        EXPECT_TRUE(SetClassesValue(kVersionKey, NULL, REG_SZ, version + '\0'));
        EXPECT_TRUE(SetClassesValue(MainAppKey(version), NULL, REG_SZ, ExePath() + '\0'));
    }
    ~PortalClient() { DeleteClassesTree(kLumoraKey); }
    std::string ExePath() const { return File("sample_portal.exe"); }
    // The client's log once it has finished (and closed its events), or "" if it never ran.
    std::string Log(DWORD waitMs = 10000) const {
        for (DWORD waited = 0;; waited += 50) {
            std::string log = ReadFileBytes(File("sample_portal.log"));
            if (log.find("finished\n") != std::string::npos || waited >= waitMs)
                return log;
            Sleep(50);
        }
    }
};

// After every path the library must hold none of the events: a new create gives a new one.
void ExpectNoEventLeftOpen() {
    for (const char *name : kEventNames) {
        SetLastError(0xdeadbeef);
        HANDLE event = CreateEventA(NULL, TRUE, FALSE, name);
        EXPECT_NE((HANDLE)NULL, event) << name;
        EXPECT_NE((DWORD)ERROR_ALREADY_EXISTS, GetLastError()) << name << " is still open";
        CloseHandle(event);
    }
}

// The exit call that follows decides on the recorded verdict: a dialog only after "No".
TEST(Portal, EachVerdictDecidesTheAnswerTheRecordAndTheExitCall) {
    const bool dialogs = DllHasDialogTemplate();
    struct Row {
        const char *answer, *flags, *output;
        int startAnswer;
        const char *record;
        unsigned dialogCount;  // start and exit together
    } rows[] = {
        {"takeover", "1 0", "Lumora will take over\n", 0, "Yes", 0},
        {"decline", "1 0", "Lumora will not handle the game\n", 1, "No", 2},
        {"launched", "1 0", "Lumora launched the game\n", 1, "Yes", 0},
        {"takeover", "3 2", "Lumora will take over\n", 1, "Yes", 0},
        {"decline", "3 2", "Lumora will not handle the game\n", 1, "No", 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.answer) + ", flags " + row.flags);
        PortalClient client(row.answer);
        GameFolder game;
        game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
        GameRun run = RunGame(game, row.flags);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(row.startAnswer, run.Answer(0));
        EXPECT_EQ(1, run.Answer(1));
        EXPECT_EQ(row.output, run.OutputBesidesPainting());
        EXPECT_EQ(row.record, ProfileRecord(game));
        EXPECT_EQ(dialogs ? row.dialogCount : 0u, run.dialogTitles.size());
        EXPECT_NE(std::string::npos, client.Log().find("signalled\nfinished\n"));
        ExpectNoEventLeftOpen();
    }
}

TEST(Portal, TheClientGetsTheIniAndTheGamesCommandLine) {
    PortalClient client("decline");
    GameFolder game;
    TempFolder elsewhere;
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    RunOptions options;
    options.args = "3 -windowed \"two words\"";
    options.workingDir = elsewhere.Path();
    GameRun run = RunGame(game, options);
    ASSERT_TRUE(run.finished);
    std::string folder = elsewhere.Path().substr(0, elsewhere.Path().size() - 1);
    std::string expected = "command line: \"" + client.ExePath() + "\" --ini=\"" + folder +
                           "\\launch.ini\" --cmdline=" + run.commandLine + "\n";
    std::string log = client.Log();
    EXPECT_EQ(expected, log.substr(0, log.find('\n') + 1));
    // The client starts in "." of the game, its current directory.
    EXPECT_NE(std::string::npos, log.find("working directory: " + folder + "\n")) << log;
    EXPECT_EQ("No", ProfileRecord(game));

    // From a drive root the directory already ends in "\\": two backslashes reach the client.
    PortalClient rooted("decline");
    GameFolder game2;
    game2.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    options.args = "3";
    options.workingDir = "C:\\";
    run = RunGame(game2, options);
    log = rooted.Log();
    EXPECT_NE(std::string::npos, log.find(" --ini=\"C:\\\\launch.ini\" --cmdline=")) << log;
}

TEST(Portal, ATooLongGameCommandLineSkipsTheHandOff) {
    PortalClient client("takeover");
    GameFolder game;
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    GameRun run = RunGame(game, "3 " + std::string(2100, 'x'));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(1, run.Answer(0));
    EXPECT_EQ("Lumora hand-off skipped: command line too long\n", run.OutputBesidesPainting());
    EXPECT_EQ("", client.Log(500)) << "the client must not start";
    EXPECT_EQ("No", ProfileRecord(game));
    ExpectNoEventLeftOpen();
}

TEST(Portal, RegistryFaultsEndTheLookupWithTheirOwnLine) {
    struct Row {
        const char *what;
        void (*setUp)();
        const char *output;
    } rows[] = {
        {"no entries", [] {}, "Failed to find registry entry for 'MainApp'\n"},
        {"16-character version",
         [] { SetClassesValue(kVersionKey, NULL, REG_SZ, std::string(16, '9') + '\0'); },
         "Failed to find registry entry for 'MainApp'\n"},
        {"16 bytes of version without terminator",
         [] { SetClassesValue(kVersionKey, NULL, REG_BINARY, std::string(16, '9')); },
         "Failed to find registry entry for 'MainApp'\n"},
        {"no path key",
         [] { SetClassesValue(kVersionKey, NULL, REG_SZ, std::string("3.2") + '\0'); },
         "Failed to open registry entry for 'MainApp'\n"},
        {"path key without default value",
         [] {
             SetClassesValue(kVersionKey, NULL, REG_SZ, std::string("3.2") + '\0');
             SetClassesValue(MainAppKey("3.2"), "Other", REG_SZ, std::string("x") + '\0');
         },
         "Failed to read default value of 'MainApp'\n"},
        {"260-byte path without terminator",
         [] {
             SetClassesValue(kVersionKey, NULL, REG_SZ, std::string("3.2") + '\0');
             SetClassesValue(MainAppKey("3.2"), NULL, REG_BINARY, std::string(260, 'p'));
         },
         "Failed to read default value of 'MainApp'\n"},
        {"path that cannot be started",
         [] {
             SetClassesValue(kVersionKey, NULL, REG_SZ, std::string("3.2") + '\0');
             SetClassesValue(MainAppKey("3.2"), NULL, REG_SZ,
                             std::string("C:\\no\\such\\client.exe") + '\0');
         },
         ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        DeleteClassesTree(kLumoraKey);
        row.setUp();
        GameFolder game;
        game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
        GameRun run = RunGame(game, "3");
        DeleteClassesTree(kLumoraKey);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(1, run.Answer(0));
        EXPECT_EQ(row.output, run.OutputBesidesPainting());
        EXPECT_EQ("No", ProfileRecord(game));
        ExpectNoEventLeftOpen();
    }
}

TEST(Portal, AVersionWithoutTerminatorIsStillRead) {
    PortalClient client("launched");
    SetClassesValue(kVersionKey, NULL, REG_BINARY, "3.2");  // three bytes, no terminator
    GameFolder game;
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    GameRun run = RunGame(game, "1");
    EXPECT_EQ("Lumora launched the game\n", run.OutputBesidesPainting());
    EXPECT_EQ("Yes", ProfileRecord(game));
}

TEST(Portal, AnEventNameInUseSkipsTheHandOff) {
    for (const char *name : kEventNames) {
        SCOPED_TRACE(name);
        PortalClient client("takeover");
        HANDLE held = CreateEventA(NULL, TRUE, FALSE, name);
        GameFolder game;
        game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
        GameRun run = RunGame(game, "3");
        CloseHandle(held);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(1, run.Answer(0));
        EXPECT_EQ("", run.OutputBesidesPainting());
        EXPECT_EQ("", client.Log(500)) << "the client must not start";
        EXPECT_EQ("No", ProfileRecord(game));
        ExpectNoEventLeftOpen();
    }
}

TEST(Portal, AVerdictFromAnEarlierStartStandsWhenTheHandOffIsSkipped) {
    PortalClient client("takeover");
    GameFolder game;
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    HANDLE held = NULL;
    RunOptions options;
    options.args = "1 1";
    // Once the first verdict is in, hold one name so that the second start cannot hand off.
    options.onDebugString = [&held](const std::string &piece) {
        if (piece == "Lumora will take over\n" && held == NULL)
            held = CreateEventA(NULL, TRUE, FALSE, "LumoraIniLaunch_Play_Silent");
    };
    GameRun run = RunGame(game, options);
    CloseHandle(held);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0, run.Answer(0));
    EXPECT_EQ(0, run.Answer(1)) << "the flag from the first start still says: taken over";
    EXPECT_EQ("Lumora will take over\n", run.OutputBesidesPainting());
    EXPECT_EQ(0u, run.dialogTitles.size());
    EXPECT_EQ("Yes", ProfileRecord(game));
    ExpectNoEventLeftOpen();
}

#ifdef _WIN64
// Only the x64 fixture can stop the game before its wait, where these tests set events.
void SignalByName(const char *name) {
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    ASSERT_NE((HANDLE)NULL, event) << name;
    SetEvent(event);
    CloseHandle(event);
}

TEST(Portal, ExitWinsWhenExitAndPlayAreSetBeforeTheWait) {
    PortalClient client("none");
    GameFolder game;
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    RunOptions options;
    options.args = "1";
    options.atPortalWait = [](HANDLE, const HANDLE *) {
        SignalByName("LumoraIniLaunch_Play_Silent");
        SignalByName("LumoraIniLaunch_Play");
        SignalByName("LumoraIniLaunch_Exit");
    };
    GameRun run = RunGame(game, options);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ("Lumora will take over\n", run.OutputBesidesPainting());
    EXPECT_EQ(0, run.Answer(0));
    EXPECT_EQ("Yes", ProfileRecord(game));

    PortalClient second("none");
    GameFolder game2;
    game2.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    options.args = "3";
    options.atPortalWait = [](HANDLE, const HANDLE *) {
        SignalByName("LumoraIniLaunch_Play_Silent");
        SignalByName("LumoraIniLaunch_Play");
    };
    run = RunGame(game2, options);
    EXPECT_EQ("Lumora will not handle the game\n", run.OutputBesidesPainting());
    EXPECT_EQ("No", ProfileRecord(game2));
}

TEST(Portal, AFailedWaitGoesOnAsADecline) {
    PortalClient client("none");
    GameFolder game;
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    RunOptions options;
    options.args = "3";
    // Closing one of the game's own handles under it makes the wait fail at once.
    options.atPortalWait = [](HANDLE process, const HANDLE *handles) {
        HANDLE copy = NULL;
        ASSERT_TRUE(DuplicateHandle(process, handles[2], GetCurrentProcess(), &copy, 0, FALSE,
                                    DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS));
        CloseHandle(copy);
    };
    GameRun run = RunGame(game, options);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(1, run.Answer(0));
    EXPECT_EQ("Fall-thru in event switch: should not happen\n", run.OutputBesidesPainting());
    EXPECT_EQ("No", ProfileRecord(game));
    ExpectNoEventLeftOpen();
}
#endif

// Slow by nature: the client never answers and the library waits its full 40 seconds.
TEST(PortalSlow, AClientThatNeverAnswersTimesOutAfterFortySeconds) {
    const bool dialogs = DllHasDialogTemplate();
    PortalClient client("none");
    GameFolder game;
    game.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    RunOptions options;
    options.args = "1";
    options.timeLimitMs = 60000;
    DWORD started = GetTickCount();
    GameRun run = RunGame(game, options);
    DWORD took = GetTickCount() - started;
    ASSERT_TRUE(run.finished);
    EXPECT_EQ("Lumora event timeout\nLumora will not handle the game\n", run.OutputBesidesPainting());
    EXPECT_GE(took, 39000u);
    EXPECT_EQ(1, run.Answer(0));
    EXPECT_EQ(dialogs ? 1u : 0u, run.dialogTitles.size());
    EXPECT_EQ("No", ProfileRecord(game));
    ExpectNoEventLeftOpen();
}

}  // namespace
