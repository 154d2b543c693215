// The start and exit flows end to end: a game process, a real profile file, the library's
// debug output and its windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "entry/interstitial.h"
#include "game_fixture.h"
#include "zi_config.h"

namespace {


TEST(Flow, FlagsDecideTheFlowAndOnlyTheLowTwoBitsCount) {
    struct Row {
        const char *flags;
        bool start, dialog;
    } rows[] = {
        {"1", true, true},  {"3", true, false},   {"0", false, false}, {"2", false, false},
        {"5", true, true},  {"259", true, false}, {"-1", true, false}, {"-4", false, false},
    };
    for (const Row &row : rows) {
        GameFolder folder;
        folder.WriteProfile("[Main]\r\nGameName=Star Duel\r\nLaunchSound=start.wav\r\n"
                            "ExitSound=end.wav\r\n");
        GameRun run = RunGame(folder, {row.flags});
        SCOPED_TRACE(std::string("flags ") + row.flags);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(1, run.Answer(0));
        EXPECT_EQ(row.start ? "No" : "<none>", ProfileRecord(folder));
        EXPECT_EQ(row.dialog ? 1u : 0u, run.dialogTitles.size());
        EXPECT_EQ(0u, run.boxes.size());
        // No portal client is registered in these cases.
        EXPECT_EQ(row.start ? kNoClientLine : "",
                  run.OutputBesidesPainting());
    }
}

TEST(Flow, ExitShowsTheDialogOnlyWhenTheStartRecordedNo) {
    struct Row {
        const char *record;  // NULL: no Lumora key
        const char *fullVersion;
        bool dialog;
    } rows[] = {
        {"No", "", true},   {"no", "", true},     {"NO", "", true},   {"Yes", "", false},
        {NULL, "", false},  {"", "", false},      {"Nope", "", false}, {"No", "yes", false},
        {"No", "YES", false}, {"No", "Yes", false}, {"No", "Yes please", true},
    };
    for (const Row &row : rows) {
        GameFolder folder;
        std::string profile = "[Main]\r\nGameName=Star Duel\r\nFullVersion=";
        profile += row.fullVersion;
        profile += "\r\n";
        if (row.record)
            profile += std::string("Lumora=") + row.record + "\r\n";
        folder.WriteProfile(profile);
        GameRun run = RunGame(folder, {"0"});
        SCOPED_TRACE(std::string("record ") + (row.record ? row.record : "(absent)") +
                     ", full version " + row.fullVersion);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(1, run.Answer(0));
        EXPECT_EQ(row.dialog ? 1u : 0u, run.dialogTitles.size());
        EXPECT_EQ(profile, folder.ReadProfile()) << "the exit call never writes";
    }
}

TEST(Flow, MissingOrTooSmallProfileStopsTheGameWithTheErrorBox) {
    struct Row {
        const char *profile;  // NULL: no file
        const char *flags;
    } rows[] = {
        {NULL, "1"}, {NULL, "0"}, {NULL, "3"}, {"[Main]\r\nx=", "1"}, {"[Main]\r\nx=", "2"},
    };
    for (const Row &row : rows) {
        GameFolder folder;
        if (row.profile)
            folder.WriteProfile(row.profile);
        GameRun run = RunGame(folder, {row.flags});
        SCOPED_TRACE(std::string(row.profile ? "10-byte profile" : "no profile") + ", flags " +
                     row.flags);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0, run.Answer(0));
        EXPECT_EQ(kMissingProfileLines, run.debugOutput);
        ASSERT_EQ(1u, run.boxes.size());
        EXPECT_EQ("Error Launching Game", run.boxes[0].caption);
        EXPECT_TRUE(run.boxes[0].icon);
        EXPECT_EQ("Cannot read game profile file.\n\n    File name: 'launch.ini'",
                  run.boxes[0].text);
        EXPECT_EQ(0u, run.dialogTitles.size());
        EXPECT_EQ(row.profile ? row.profile : "", folder.ReadProfile()) << "nothing written";
    }
}

TEST(Flow, ReadOnlyProfileIsMadeWritableAndGetsTheRecord) {
    GameFolder folder;
    folder.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    ASSERT_TRUE(SetFileAttributesA(folder.ProfilePath().c_str(),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    GameRun run = RunGame(folder, {"3"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(1, run.Answer(0));
    DWORD attributes = GetFileAttributesA(folder.ProfilePath().c_str());
    EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_ARCHIVE) << "other attributes stay";
    EXPECT_EQ("No", ProfileRecord(folder));

    // A too-small read-only file loses the attribute as well, though it is refused.
    GameFolder small;
    small.WriteProfile("[Main]\r\n");
    SetFileAttributesA(small.ProfilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    run = RunGame(small, {"2"});
    EXPECT_EQ(0, run.Answer(0));
    EXPECT_EQ(0u, GetFileAttributesA(small.ProfilePath().c_str()) & FILE_ATTRIBUTE_READONLY);
}

// Empty addresses fall back to the portal's home host (the exports' other answers are
// held by abi_test).
TEST(Members, AccessorsFallBackToThePortalHost) {
    static CInterstitial fresh; // static storage: the fields the constructor leaves are zero
    EXPECT_STREQ(ZI_PORTAL_HOME_HOST, fresh.GetTamselUrl());
    EXPECT_STREQ(ZI_PORTAL_HOME_HOST, fresh.GetUpsellUrl());
}

// The failed load writes two pieces, the name as given first: empty for a null or empty
// name. A vectored handler sees each piece as OutputDebugStringA raises it.
std::vector<std::string> g_pieces;
LONG CALLBACK RecordPiece(EXCEPTION_POINTERS *info) {
    const EXCEPTION_RECORD *record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2)
        g_pieces.push_back((const char *)record->ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(Flow, FailedLoadWritesTheNameAsGivenThenTheMessage) {
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((BinFolder() + "launch.ini").c_str()));
    char empty[] = "", absent[] = "zi-absent.ini";
    struct Row {
        char *name;
        const char *first;
    } rows[] = {{NULL, ""}, {empty, ""}, {absent, "zi-absent.ini"}};
    void *handler = AddVectoredExceptionHandler(1, RecordPiece);
    for (const Row &row : rows) {
        g_pieces.clear();
        EXPECT_EQ(0, g_Interstitial.LoadProfile(row.name));
        EXPECT_EQ((std::vector<std::string>{
                      row.first, ": ZelInterstitial.dll cannot locate profile, game not launched\n"}),
                  g_pieces);
    }
    RemoveVectoredExceptionHandler(handler);
}

}  // namespace
