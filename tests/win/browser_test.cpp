// The browser launcher in process: a recording program registered as the browser under
// HKEY_CLASSES_ROOT receives the command, and writes the command line it got to a file.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <new>
#include <string>
#include <vector>

#include "../native/browser_code_pages.h"
#include "browser/browser.h"
#include "browser/browser_text.h"
#include "win_test_util.h"

// The launcher's command buffer comes from here. A test names the one size that fails.
static size_t g_failingAllocationSize = 0;

void *operator new[](size_t size, const std::nothrow_t &) noexcept {
    return size == g_failingAllocationSize ? nullptr : malloc(size);
}

namespace {

const char *const kAssociationKeys[] = {".HTM", ".HTML", "HtmlDefBrowser"};
const char kPage[] = "ZiTest.Page";    // a programmatic identifier
const char kOther[] = "ZiTest.Other";  // another one

// A registry tree under HKEY_CLASSES_ROOT, kept so that the prefix's own associations
// come back after the tests.
struct SavedTree {
    std::string name;
    struct Value {
        std::string name, data;
        DWORD type;
    };
    std::vector<Value> values;
    std::vector<SavedTree> children;
};

bool SaveTree(const std::string &key, SavedTree &tree) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    tree.name = key;
    char name[256], data[4096];
    for (DWORD i = 0;; i++) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(handle, i, name, &nameSize, NULL, &type, (BYTE *)data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        tree.values.push_back({name, std::string(data, dataSize), type});
    }
    for (DWORD i = 0;; i++) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(handle, i, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        tree.children.emplace_back();
        SaveTree(key + "\\" + name, tree.children.back());
    }
    RegCloseKey(handle);
    return true;
}

void RestoreTree(const SavedTree &tree) {
    for (const SavedTree::Value &value : tree.values)
        SetClassesValue(tree.name, value.name.empty() ? NULL : value.name.c_str(), value.type,
                        value.data);
    if (tree.values.empty())
        SetClassesValue(tree.name, "ZiTestMarker", REG_SZ, "");  // creates the key
    for (const SavedTree &child : tree.children)
        RestoreTree(child);
    if (tree.values.empty()) {
        HKEY handle;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, tree.name.c_str(), 0, KEY_SET_VALUE, &handle) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(handle, "ZiTestMarker");
            RegCloseKey(handle);
        }
    }
}

void ClearAssociations() {
    for (const char *key : kAssociationKeys)
        DeleteClassesTree(key);
    DeleteClassesTree(kPage);
    DeleteClassesTree(kOther);
}

// One key's default value; `hasValue` false creates the key with no default value.
struct Entry {
    std::string key, value;
    bool hasValue = true;
};

std::string Recorder() {
    return "\"" + BinFolder() + "browser_recorder.exe\"";
}

// The association ".HTM" -> kPage -> `command`.
std::vector<Entry> PageBrowser(const std::string &command) {
    return {{".HTM", kPage}, {std::string(kPage) + "\\shell\\open\\command", command}};
}

class Browser : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char *key : kAssociationKeys) {
            saved_.emplace_back();
            if (!SaveTree(key, saved_.back()))
                saved_.pop_back();
        }
    }
    static void TearDownTestSuite() {
        ClearAssociations();
        for (const SavedTree &tree : saved_)
            RestoreTree(tree);
        saved_.clear();
    }
    void SetUp() override {
        ClearAssociations();
        record_ = folder_.File("record.txt");
        SetEnvironmentVariableA("ZI_BROWSER_RECORD", record_.c_str());
    }
    void TearDown() override {
        ClearAssociations();
        SetEnvironmentVariableA("ZI_BROWSER_RECORD", NULL);
    }

    void Register(const std::vector<Entry> &entries) {
        for (const Entry &entry : entries) {
            if (entry.hasValue)
                ASSERT_TRUE(SetClassesValue(entry.key, NULL, REG_SZ,
                                            std::string(entry.value.c_str(), entry.value.size() + 1)))
                    << entry.key;
            else
                ASSERT_TRUE(SetClassesValue(entry.key, "Content Type", REG_SZ, "text/html"))
                    << entry.key;
        }
    }

    // Calls the launcher on a copy of `url` (null passes null), checks the copy is left as
    // it was, and returns what the recorder wrote: one line per start, empty for none.
    std::string Launch(const char *url, int expectedResult, bool expectStart = true) {
        std::vector<char> copy;
        if (url != NULL)
            copy.assign(url, url + strlen(url) + 1);
        DeleteFileA(record_.c_str());
        int result = LaunchBrowser(url != NULL ? copy.data() : NULL);
        EXPECT_EQ(expectedResult, result) << "expected " << expectedResult << ", got " << result;
        if (url != NULL) {
            EXPECT_STREQ(url, copy.data()) << "the caller's URL is never modified";
        }
        // A start shows within a few seconds; where none is expected, a short look suffices.
        std::string recorded;
        for (DWORD waited = 0; waited < (expectStart ? 10000u : 300u); waited += 20) {
            recorded = ReadFileBytes(record_);
            if (!recorded.empty() && recorded.back() == '\n')
                break;
            Sleep(20);
        }
        return recorded;
    }

    static std::vector<SavedTree> saved_;
    TempFolder folder_;
    std::string record_;
};

std::vector<SavedTree> Browser::saved_;

TEST_F(Browser, PutsTheUrlIntoTheRegisteredCommand) {
    const std::string rec = Recorder();
    const std::string url = "http://www.example.com/a%20b?q=%s&r=%n";
    const std::string longUrl = "http://long.example/" + std::string(1100, 'a');
    const std::string bin = BinFolder();
    struct Row {
        const char *what;
        std::vector<Entry> keys;
        const char *url;
        int result;
        std::string command;  // the recorded command line; empty: nothing was started
    } rows[] = {
        {"plain http URL", PageBrowser(rec + " \"%1\""), url.c_str(), 1, rec + " \"" + url + "\""},
        {"bare host name", PageBrowser(rec + " \"%1\""), "www.lumora.example", 1,
         rec + " \"www.lumora.example\""},
        {"\"%1\" twice", PageBrowser(rec + " %1 %1"), url.c_str(), 1, rec + " " + url + " %1"},
        {"\"%1\" and -nohome", PageBrowser(rec + " -nohome \"%1\""), url.c_str(), 1,
         rec + " -nohome \"" + url + "\""},
        {"-nohome and more switches", PageBrowser(rec + " -nohome -new-window -x"), url.c_str(), 1,
         rec + " " + url},
        {"other directives stay literal", PageBrowser(rec + " %s %s %n %x %1"), url.c_str(), 1,
         rec + " " + url + " %s %n %x %s"},
        {"neither placeholder", PageBrowser(rec + " --no-page"), url.c_str(), 0, ""},
        {"empty URL, browser", PageBrowser(rec + " %1"), "", 1, ""},
        {"null URL, browser", PageBrowser(rec + " %1"), NULL, 1, ""},
        {"empty URL, no browser", {}, "", 0, ""},
        {"null URL, no browser", {}, NULL, 0, ""},
        // Glued to the program's name, the URL makes the first start fail; the retry
        // starts the program without it (CreateProcess adds ".exe").
        {"retry without the URL", PageBrowser("\"" + bin + "browser_recorder%1\""), url.c_str(), 1,
         "\"" + bin + "browser_recorder\""},
        {"both starts fail", PageBrowser("\"" + bin + "no_such_browser%1\""), url.c_str(), 0, ""},
        {"command cut at 1024 bytes", PageBrowser(rec + " %1"), longUrl.c_str(), 1,
         (rec + " " + longUrl).substr(0, 1023)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        ClearAssociations();
        Register(row.keys);
        std::string expected = row.command.empty() ? "" : row.command + "\n";
        EXPECT_EQ(expected, Launch(row.url, row.result, !row.command.empty()));
        ClearAssociations();
    }
}

TEST_F(Browser, FindsTheCommandThroughTheAssociations) {
    const std::string rec = Recorder();
    const std::string command = std::string(kPage) + "\\shell\\open\\command";
    const std::string otherCommand = std::string(kOther) + "\\shell\\open\\command";
    const Entry html = {".HTML", kOther};
    const Entry htmlCommand = {otherCommand, rec + " html %1"};
    const Entry fallback = {"HtmlDefBrowser\\shell\\open\\command", rec + " fallback %1"};
    // Values of 260 bytes and more with the terminator do not read; 259 + 1 do.
    const std::string pad259 = rec + " page %1 " + std::string(259 - rec.size() - 9, 'x');
    const std::string pad260 = pad259 + "x";
    struct Row {
        const char *what;
        std::vector<Entry> keys;
        const char *marker;  // which command was started
    } rows[] = {
        {".HTM", {{".HTM", kPage}, {command, rec + " page %1"}, html, htmlCommand, fallback},
         "page"},
        {".HTML when .HTM is missing", {html, htmlCommand, fallback}, "html"},
        {"fallback, never .HTML, when .HTM's identifier has no command",
         {{".HTM", kPage}, {kPage, "", false}, html, htmlCommand, fallback}, "fallback"},
        {"fallback when .HTM's identifier is no key", {{".HTM", kPage}, html, htmlCommand, fallback},
         "fallback"},
        {"fallback alone", {fallback}, "fallback"},
        {"identifier of 260 bytes is missing",
         {{".HTM", std::string(260, 'Z')}, html, htmlCommand, fallback}, "html"},
        {"identifier of 259 bytes reads (but names no key)",
         {{".HTM", std::string(259, 'Z')}, html, htmlCommand, fallback}, "fallback"},
        {"template of 259 bytes reads", {{".HTM", kPage}, {command, pad259}, fallback}, "page"},
        {"template of 260 bytes is missing", {{".HTM", kPage}, {command, pad260}, fallback},
         "fallback"},
        // A key without a default value reads as the empty text: the identifier "" opens
        // HKEY_CLASSES_ROOT itself, which has no open command.
        {".HTM without default value", {{".HTM", "", false}, html, htmlCommand, fallback},
         "fallback"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        ClearAssociations();
        Register(row.keys);
        std::string got = Launch("www.lumora.example", 1);
        EXPECT_EQ(0u, got.find(rec + " " + row.marker + " www.lumora.example")) << got;
        ClearAssociations();
    }
}

TEST_F(Browser, FileUrlTakesTheShortPathInTheCallersCase) {
    const std::string rec = Recorder();
    Register(PageBrowser(rec + " \"%1\""));
    const std::string path = folder_.File("Long Page Name.html");
    ASSERT_TRUE(WriteFileBytes(path, "<html></html>"));
    char shortPath[MAX_PATH];
    memset(shortPath, 0xcc, sizeof shortPath);
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    ASSERT_TRUE(length > 0 && length < sizeof shortPath);
    ASSERT_NE(path, shortPath) << "the file needs a short form that differs";

    const std::string missing = folder_.File("Missing Page Name.html");
    const std::string other = "http://r.example/?to=file://" + path;
    struct Row {
        std::string url, expected;
    } rows[] = {
        {"FiLe://" + path, "FiLe://" + std::string(shortPath)},
        {"file://" + path, "file://" + std::string(shortPath)},
        {"file://" + missing, "file://" + missing},  // nothing written: the path stays
        {other, other},                              // the first "://" is http's
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.url);
        EXPECT_EQ(rec + " \"" + row.expected + "\"\n", Launch(row.url.c_str(), 1));
    }
}

TEST_F(Browser, OutOfMemoryStartsNothing) {
    Register(PageBrowser(Recorder() + " %1"));
    const char url[] = "http://www.example.com/";
    g_failingAllocationSize = strlen(url) + kCommandExtraBytes;
    std::string got = Launch(url, 0, false);
    g_failingAllocationSize = 0;
    EXPECT_EQ("", got);
}

// The stepping that the unit tests use for code pages 932 and 936 is the platform's.
TEST(BrowserPlatform, CodePageSteppingIsCharNextExA) {
    const char trails[] = {'\\', ':', '/', 'a', '\x81', '\0'};
    for (int lead = 0x20; lead <= 0xff; lead++) {
        for (char trail : trails) {
            const char text[3] = {(char)lead, trail, '\0'};
            EXPECT_EQ(CharNextExA(932, text, 0), NextChar932(text)) << "932 lead " << lead;
            EXPECT_EQ(CharNextExA(936, text, 0), NextChar936(text)) << "936 lead " << lead;
        }
    }
}

// The command's cut is the one wsprintfA makes.
TEST(BrowserPlatform, CutIsWsprintfAs) {
    const std::string url(2000, 'a');
    char expected[2048], got[2048];
    memset(expected, 0xcc, sizeof expected);
    memset(got, 0xcc, sizeof got);
    wsprintfA(expected, "b.exe %% %s", url.c_str());  // Wine answers 1024 for a cut text
    FormatCommand(got, url.size() + kCommandExtraBytes, "b.exe %% %s", url.c_str());
    EXPECT_EQ(1023u, strlen(expected));
    EXPECT_STREQ(expected, got);
}

}  // namespace
