// The soak behind `make soak`, and its smoke in the Windows-side tests. This program is a
// long-lived game: start/exit cycles against the sample portal client, told at random how to
// behave, with faults between start and exit; then rounds of stub games started together.
// Every answer, record and event is checked. A progress line every 10 s, one table at the end;
// exit code 1 on a miss.
//   zi_soak CYCLES SEED SHARE FAULTS ROUNDS [SIZE...]
// SHARE: 1 cycle in SHARE each has a client that ends at once, is killed in the wait, or never
// answers (each a full 40 s wait; 0: none). FAULTS: cycles with each fault. ROUNDS: rounds of
// each SIZE (default 2 4 8) of games started together.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "ZelInterstitial.h"
#include "game_fixture.h"
#include "resource_count_win.h"

namespace {

// What the client is told, and what the start gets: the outcome (2 taken over, 1 go on) and
// whether the portal handled the game.
const struct Behaviour {
    const char *name, *answer;
    int outcome;
    bool handled;
} kBehaviours[] = {{"decline", "decline", 1, false}, {"take over", "takeover", 2, true},
                   {"take over silently", "launched", 1, true}, {"exit at once", "none", 1, false},
                   {"killed in the wait", "hang", 1, false}, {"no answer", "hang", 1, false}};
enum { kExitAtOnce = 3, kKilled, kMute };
enum Fault { kNoFault, kReadOnly, kDeleted, kLocked, kClientGone, kKeyGone, kFaults };
// Each fault with what it gets.
const char *const kFaultNames[] = {
    "", "profile read-only: the exit answers as the record says",
    "profile deleted: the error box, the exit answers 0",
    "profile locked, no sharing: read as empty, the exit answers 1 without dialog",
    "client removed after registration: no verdict, the flag and record kept",
    "registry key removed in the wait: the verdict stands"};
const char kKillClient[] = "taskkill /f /im portal.exe >nul 2>nul";

std::mt19937 g_rng;
std::map<std::string, long> g_counts; // rows of the table: counts
std::map<std::string, std::string> g_rows; // and the others
std::string g_where;                       // what the cycle or round is, for a miss
CInterstitial g_model;              // the profile's values at the start, as Load leaves them
bool g_handled = false;             // the library's flag, as the rules leave it

struct {
    volatile LONG quit, dialogs, boxes, kill, unregister, misses;
    volatile ULONGLONG callBegan;
    const char *volatile step = "starting";
    volatile long done, total;
} g_watch;

template <typename... Values> std::string Format(const char *format, Values... values) {
    char text[256];
    snprintf(text, sizeof text, format, values...);
    return text;
}

std::string Here(const std::string &name) { return BinFolder() + name; }
std::string ClientLog() { return Here("client\\sample_portal.log"); }

// What the sample client answers at its next start (with any other settings), and no log yet.
void TellClient(const std::string &settings) {
    WriteFileBytes(Here("client\\sample_portal.ini"), "[Portal]\r\nAnswer=" + settings + "\r\n");
    DeleteFileA(ClientLog().c_str());
}

void Miss(const std::string &kind, long count) {
    g_counts["miss: " + kind] += count;
    g_watch.misses += count;
    if (count > 0) // where, to be found again with the same seed
        printf("miss in %s %ld (%s): %s\n", g_watch.step, g_watch.done, g_where.c_str(),
               kind.c_str());
}

// This game's dialogs end as `quit` says, by the close mark or Enter; its error boxes and the
// other games' dialogs by Enter. Each of this game's windows is counted once.
BOOL CALLBACK Answer(HWND hwnd, LPARAM) {
    static HWND last;
    char name[8] = "", caption[32] = "";
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    GetClassNameA(hwnd, name, sizeof name);
    if (!IsWindowVisible(hwnd) || strcmp(name, "#32770") != 0)
        return TRUE;
    GetWindowTextA(hwnd, caption, sizeof caption);
    bool ours = pid == GetCurrentProcessId(), box = strcmp(caption, "Error Launching Game") == 0;
    if (ours && hwnd != last)
        last = hwnd, InterlockedIncrement(box ? &g_watch.boxes : &g_watch.dialogs);
    if (!ours || box || !g_watch.quit)
        PressOk(hwnd);
    else if (PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(475, 15))) // onto the close mark
        PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(475, 15));
    return TRUE;
}

// Answers the windows; kills the client, or removes its key once it has started; stops a call
// that hangs; prints the progress.
DWORD WINAPI Watch(LPVOID) {
    for (ULONGLONG told = GetTickCount64();; Sleep(5)) {
        EnumWindows(Answer, 0);
        if (g_watch.kill) // retried until the client runs
            Sleep(500), g_watch.kill = system(kKillClient) != 0;
        if (g_watch.unregister && GetFileAttributesA(ClientLog().c_str()) != INVALID_FILE_ATTRIBUTES)
            DeleteClassesTree(kClientRoot), g_watch.unregister = 0;
        ULONGLONG now = GetTickCount64(), began = g_watch.callBegan;
        if (began && now - began > 60000)
            printf("a call has run for 60 s: stopped\n"), ExitProcess(3);
        if (now - told >= 10000)
            printf("%s %ld of %ld, %ld misses\n", g_watch.step, g_watch.done, g_watch.total,
                   g_watch.misses), told = now;
    }
}

// One call, its dialog ended by play or quit at random. True when the answer (where the dialog
// shows, its choice), the dialogs shown and the error boxes are as given.
bool Expected(int flags, int answer, bool dialog, bool box) {
    LONG dialogs = g_watch.dialogs, boxes = g_watch.boxes;
    g_watch.quit = g_rng() & 1;
    g_watch.callBegan = GetTickCount64();
    int got = fnGameBeginEnd(flags);
    Miss("a call past the 40 s wait (45 s)", GetTickCount64() - g_watch.callBegan > 45000);
    g_watch.callBegan = 0;
    bool right = got == (dialog ? !g_watch.quit : answer) && g_watch.dialogs - dialogs == dialog &&
                 g_watch.boxes - boxes == box;
    if (!right) // for the miss's line
        g_where += Format(", answered %d with %ld dialogs and %ld error boxes", got,
                          g_watch.dialogs - dialogs, g_watch.boxes - boxes);
    return right;
}

// An event still open after 2 s: a client that has just answered may hold one a moment.
bool EventLeftOpen() {
    for (int tries = 0; tries < 40; tries++, Sleep(50)) {
        bool open = false;
        for (const char *name :
             {"LumoraIniLaunch_Exit", "LumoraIniLaunch_Play", "LumoraIniLaunch_Play_Silent"}) {
            HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name);
            open |= event && CloseHandle(event);
        }
        if (!open)
            return false;
    }
    return true;
}

// A profile beside this program as the library loads it, but for its path and the two values
// the soak writes.
void Load(CInterstitial &into, const char *name) {
    memset((void *)&into, 0, sizeof into);
    new (&into) CInterstitial();
    into.LoadProfile((char *)name);
    memset(into.m_szProfilePath, 0, sizeof into.m_szProfilePath);
    memset(into.m_szFullVersion, 0, sizeof into.m_szFullVersion);
    memset(into.m_szPortalRecord, 0, sizeof into.m_szPortalRecord);
}

bool SameValues(const char *name) {
    static CInterstitial now;
    Load(now, name);
    return memcmp((void *)&now, (void *)&g_model, sizeof now) == 0;
}

void Register() { RegisterClient(std::string("3.2") + '\0', REG_SZ, Here("client\\portal.exe")); }

PROCESS_INFORMATION Start(std::string line, const std::string &folder, DWORD flags = 0) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, flags, NULL, folder.c_str(), &startup,
                   &started);
    return started;
}

void Cycle(int behaviour, bool silent, bool full, Fault fault) {
    const Behaviour &how = kBehaviours[behaviour];
    const std::string profile = Here("launch.ini"), client = Here("client\\portal.exe");
    g_where = Format("%s, silent %d, full %d, fault %d", how.name, silent, full, fault);
    g_counts[std::string("client: ") + how.name]++;
    WritePrivateProfileStringA("Main", "FullVersion", full ? "Yes" : "No", profile.c_str());
    TellClient(how.answer + std::string(fault == kKeyGone ? "\r\nDelayMs=2000" : ""));
    for (int tries = 0; fault == kClientGone && !DeleteFileA(client.c_str()) && tries < 100;
         tries++)
        Sleep(50); // the last client may still be ending

    // The start: a client that cannot start gives no verdict and leaves the flag.
    int outcome = fault == kClientGone ? 0 : how.outcome;
    bool kept = g_handled;
    g_handled = fault == kClientGone ? g_handled : how.handled;
    g_watch.kill = behaviour == kKilled;
    g_watch.unregister = fault == kKeyGone;
    bool right = Expected(silent ? 3 : 1, silent || full || outcome == 1,
                          !silent && !full && !g_handled, false);
    // No client ran though its program was there and the events free: the platform refused to
    // start it (about 1 start in 10,000 under Wine), and the library went on without a verdict
    // as it must, keeping its flag. The record and the exit are checked against that.
    bool refused = fault != kClientGone && ReadFileBytes(ClientLog()).empty();
    g_counts["client not started by the platform (the hand-off skipped)"] += refused;
    g_handled = refused ? kept : g_handled;
    Miss("start answer or dialog", !right && !refused);
    Miss("recorded verdict", RecordInProfile(ReadFileBytes(profile)) != (g_handled ? "Yes" : "No"));
    Miss("client not killed, or key not removed, in the wait", g_watch.kill || g_watch.unregister);
    if (behaviour == kMute) // the library leaves it running
        Miss("unanswering client not left running", system(kKillClient) != 0);

    // The fault, then the exit.
    std::string saved = ReadFileBytes(profile);
    HANDLE lock = fault != kLocked ? NULL : CreateFileA(profile.c_str(), GENERIC_READ, 0, NULL,
                                                        OPEN_EXISTING, 0, NULL);
    if (fault == kReadOnly)
        SetFileAttributesA(profile.c_str(), FILE_ATTRIBUTE_READONLY);
    if (fault == kDeleted)
        DeleteFileA(profile.c_str());
    bool dialog = fault != kDeleted && fault != kLocked && !silent && !full && !g_handled;
    Miss(fault ? kFaultNames[fault] : "exit answer or dialog",
         !Expected(silent ? 2 : 0, fault != kDeleted, dialog, fault == kDeleted));
    if (fault)
        g_counts[std::string("fault: ") + kFaultNames[fault]]++;
    CloseHandle(lock); // NULL without the fault: refused, harmless
    SetFileAttributesA(profile.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (fault == kDeleted)
        WriteFileBytes(profile, saved);
    if (fault == kClientGone)
        CopyFileA(Here("sample_portal.exe").c_str(), client.c_str(), FALSE);
    if (fault == kKeyGone)
        Register();
    Miss("profile changed by the exit", ReadFileBytes(profile) != saved);
    Miss("other values changed", !SameValues("launch.ini"));
    Miss("event left open", EventLeftOpen());
}

void RunCycles(long cycles, long share, long faults) {
    // Each fault at `faults` random cycles, the first of each early: the platform's one-time
    // allocations (the error box's) come before the growth is sampled.
    std::vector<int> planned(cycles, kNoFault);
    for (int fault = 1; fault < kFaults && faults > 0 && faults * kFaults + 12 < cycles; fault++) {
        planned[11 + fault] = fault;
        for (long placed = 1; placed < faults;) {
            long at = kFaults + 11 + g_rng() % (cycles - kFaults - 11);
            if (planned[at] == kNoFault)
                planned[at] = fault, placed++;
        }
    }
    double fit[4][5] = {}; // per count, the least-squares sums: n, x, y, xx, xy
    long warmUp = std::min(100L, cycles / 5);
    ULONGLONG began = GetTickCount64();
    g_watch.step = "cycles", g_watch.total = cycles;
    for (long cycle = 0; cycle < cycles; g_watch.done = ++cycle) {
        int behaviour = g_rng() % 3;
        for (int rare = kExitAtOnce; rare <= kMute; rare++)
            behaviour = share > 0 && g_rng() % share == 0 ? rare : behaviour;
        if (planned[cycle] != kNoFault) // their clients answer at once
            behaviour = g_rng() % 3;
        bool silent = g_rng() & 1, full = g_rng() % 4 == 0;
        if (cycle < 17) // every answer with every flag, then each fault once after a take-over
            behaviour = cycle < 12 ? cycle % 3 : 1, silent = cycle < 12 && cycle / 3 % 2,
            full = cycle / 6 == 1;
        Cycle(behaviour, silent, full, (Fault)planned[cycle]);
        if (cycle < warmUp || cycle % 10)
            continue;
        ResourceCount count = CountResources();
        double x = cycle, y[] = {(double)count.kernelHandles, (double)count.gdiObjects,
                                 (double)count.userObjects, (double)count.privateBytes};
        for (int i = 0; i < 4; i++) {
            double add[] = {1, x, y[i], x * x, x * y[i]};
            for (int j = 0; j < 5; j++)
                fit[i][j] += add[j];
        }
    }
    g_counts["cycles"] = cycles;
    g_rows["cycles per minute"] = std::to_string(cycles * 60000 / (GetTickCount64() - began));
    const char *const names[] = {"kernel handles", "GDI objects", "USER objects (windows)",
                                 "private bytes"};
    for (int i = 0; i < 4; i++) {
        double *s = fit[i], spread = s[0] * s[3] - s[1] * s[1];
        if (spread > 0)
            g_rows[std::string("growth per 1,000 cycles: ") + names[i]] =
                Format("%+.2f", 1000 * (s[0] * s[4] - s[1] * s[2]) / spread);
    }
}

std::string Home(int game) { return Here("game" + std::to_string(std::max(game, 1)) + "\\"); }

// Rounds of `size` stub games started together against one client, which answers at random;
// games 0 and 1 are copies of one game folder and write their record at the same moment. A game
// either handed off and got the verdict, or found the events in use: the dialog (played), "No".
void Together(int size, long rounds) {
    long late = 0, wrong = 0, handOffs = 0;
    double slowest = 0;
    g_watch.step = "games together", g_watch.done = 0, g_watch.total = rounds;
    for (long round = 0; round < rounds; g_watch.done = ++round) {
        const Behaviour &how = kBehaviours[g_rng() % 3];
        g_where = how.name;
        TellClient(how.answer);
        std::vector<HANDLE> games, threads;
        for (int i = 0; i < size; i++) {
            CopyFileA(ZI_SAMPLE_PROFILE, (Home(i) + "launch.ini").c_str(), FALSE);
            PROCESS_INFORMATION game =
                Start("\"" + Home(i) + "game.exe\" 1", Home(i), CREATE_SUSPENDED);
            games.push_back(game.hProcess), threads.push_back(game.hThread);
        }
        ULONGLONG began = GetTickCount64();
        for (HANDLE thread : threads) // all at the same moment
            ResumeThread(thread), CloseHandle(thread);
        bool inTime = WaitForMultipleObjects(size, games.data(), TRUE, 41000) != WAIT_TIMEOUT;
        slowest = std::max(slowest, (GetTickCount64() - began) / 1000.0);
        late += !inTime;
        for (int i = 0; i < size; i++) {
            DWORD code = 0x100;
            if (!inTime)
                TerminateProcess(games[i], 0x100);
            GetExitCodeProcess(games[i], &code);
            CloseHandle(games[i]);
            std::string profile = Home(i) + "launch.ini";
            std::string record = RecordInProfile(ReadFileBytes(profile));
            bool shared = i < 2; // the record may be the other copy's
            bool skipped = code == 1 && (shared || record == "No");
            bool handedOff = code == (how.outcome == 2 ? 0u : 1u) &&
                             (shared || record == (how.handled ? "Yes" : "No"));
            // Each folder once: one record, "Yes" only where the verdict allows it, and every
            // other value kept.
            bool valid = i == 0 || (SameValues(profile.substr(BinFolder().size()).c_str()) &&
                                    (record == "No" || (record == "Yes" && how.handled)));
            wrong += (!skipped && !handedOff) + !valid;
        }
        // The client logs its start before it answers, so before any game ends.
        std::string log = ReadFileBytes(ClientLog());
        for (size_t at = log.find("command line:"); at != std::string::npos;
             at = log.find("command line:", at + 1))
            handOffs++;
        wrong += EventLeftOpen();
    }
    g_rows[Format("%d games started together", size)] =
        Format("%ld rounds: %ld past 41 s, %ld answers, profiles or events not allowed, %ld "
               "hand-offs, slowest round %.1f s", rounds, late, wrong, handOffs, slowest);
    Miss("games started together", late + wrong + (handOffs < rounds));
}

// This program, the library, the client and seven stub games, in a folder of their own.
int RunInGameFolder(int argc, char **argv) {
    TempFolder game;
    bool copied = CreateDirectoryA(game.File("client").c_str(), NULL);
    std::vector<std::pair<std::string, std::string>> copies = {
        {"zi_soak.exe", ""}, {"ZelInterstitial.dll", ""}, {"sample_portal.exe", ""},
        {"sample_portal.exe", "client\\portal.exe"}, {ZI_SAMPLE_PROFILE, "launch.ini"}};
    for (int i = 1; i < 8; i++) {
        std::string home = "game" + std::to_string(i) + "\\";
        copied &= CreateDirectoryA(game.File(home).c_str(), NULL);
        copies.push_back({"game_stub.exe", home + "game.exe"});
        copies.push_back({"ZelInterstitial.dll", home + "ZelInterstitial.dll"});
    }
    for (const auto &copy : copies) // the profile by its full path, the rest from beside this
        copied &=
            CopyFileA((copy.first[1] == ':' ? copy.first : Here(copy.first)).c_str(),
                      game.File(copy.second.empty() ? copy.first : copy.second).c_str(), FALSE);
    std::string line = "\"" + game.File("zi_soak.exe") + "\"";
    for (int i = 1; i < argc; i++)
        line += std::string(" ") + argv[i];
    PROCESS_INFORMATION soak = Start(line, game.Path());
    DWORD code = 2;
    if (copied && soak.hProcess && !WaitForSingleObject(soak.hProcess, INFINITE))
        GetExitCodeProcess(soak.hProcess, &code);
    CloseHandle(soak.hProcess), CloseHandle(soak.hThread);
    return (int)code;
}

} // namespace

int main(int argc, char **argv) {
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc < 6)
        return printf("usage: zi_soak CYCLES SEED SHARE FAULTS ROUNDS [SIZE...]\n"), 2;
    if (GetFileAttributesA(Here("client").c_str()) == INVALID_FILE_ATTRIBUTES)
        return RunInGameFolder(argc, argv);
    long cycles = atol(argv[1]), seed = atol(argv[2]), rounds = atol(argv[5]);
    g_rng.seed(seed);
    printf("seed %ld: %ld cycles, %ld rounds of games started together\n", seed, cycles, rounds);
    Load(g_model, "launch.ini");
    DeleteClassesTree(kClientRoot);
    Register();
    CloseHandle(CreateThread(NULL, 0, Watch, NULL, 0, NULL));
    if (cycles > 0)
        RunCycles(cycles, atol(argv[3]), atol(argv[4]));
    for (int i = 6; rounds > 0 && i < (argc > 6 ? argc : 9); i++) // 2, 4 and 8 unless given
        Together(argc > 6 ? std::min(8, std::max(2, atoi(argv[i]))) : 2 << (i - 6), rounds);
    DeleteClassesTree(kClientRoot);
    g_counts["misses"] = g_watch.misses;
    for (const auto &row : g_counts)
        g_rows[row.first] = std::to_string(row.second);
    printf("| soak: seed %ld, %ld cycles | |\n|---|---|\n", seed, cycles);
    for (const auto &row : g_rows)
        printf("| %s | %s |\n", row.first.c_str(), row.second.c_str());
    return g_watch.misses > 0;
}
