// The browser launcher in process: a recording program registered as the browser under
// HKEY_CLASSES_ROOT receives the command, and writes the command line it got to a file.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "../native/browser_code_pages.h"
#include "browser/browser.h"
#include "browser/browser_text.h"
#include "game_fixture.h"

namespace {

const char kPage[] = "ZiTest.Page";   // a programmatic identifier
const char kOther[] = "ZiTest.Other"; // another one

void ClearAssociations() {
    for (const char *key : {".HTM", ".HTML", "HtmlDefBrowser", kPage, kOther})
        DeleteClassesTree(key);
}

// A key and its default value.
struct Entry {
    std::string key, value;
};

// The association ".HTM" -> kPage -> `command`.
std::vector<Entry> PageBrowser(const std::string &command) {
    return {{".HTM", kPage}, {std::string(kPage) + "\\shell\\open\\command", command}};
}
// Entries as a list.
template <class... Entries> std::vector<Entry> Keys(const Entries &...entries) {
    return {entries...};
}

// The tests replace the prefix's own associations: each test that starts a browser registers
// its own.
class Browser : public ::testing::Test {
  protected:
    void SetUp() override {
        record_ = folder_.File("record.txt");
        SetEnvironmentVariableA("ZI_BROWSER_RECORD", record_.c_str());
    }
    void TearDown() override {
        ClearAssociations();
        SetEnvironmentVariableA("ZI_BROWSER_RECORD", NULL);
    }

    // Registers `entries` alone, calls the launcher on a copy of `url` (null passes null),
    // checks the copy is left as it was, and returns what the recorder wrote: one line per
    // start, empty for none.
    std::string Launch(const std::vector<Entry> &entries, const char *url, int expectedResult,
                       bool expectStart) {
        ClearAssociations();
        for (const Entry &entry : entries)
            EXPECT_TRUE(SetClassesValue(entry.key, NULL, REG_SZ, entry.value + '\0')) << entry.key;
        std::string copy = url != NULL ? url : "";
        DeleteFileA(record_.c_str());
        EXPECT_EQ(expectedResult, LaunchBrowser(url != NULL ? copy.c_str() : NULL));
        EXPECT_STREQ(url, url != NULL ? copy.c_str() : NULL)
            << "the caller's URL is never modified";
        // A start shows within a few seconds; where none is expected, a short look suffices.
        return ReadFileHolding(record_, "\n", expectStart ? 10000 : 300);
    }

    TempFolder folder_;
    std::string record_;
};

TEST_F(Browser, PutsTheUrlIntoTheRegisteredCommand) {
    const std::string rec = RecorderPath();
    const std::string bin = BinFolder();
    const std::string url = "http://www.example.com/a%20b?q=%s&r=%n";
    const std::string longUrl = "http://long.example/" + std::string(1100, 'a');
    const std::string path = folder_.File("Long Page Name.html");
    ASSERT_TRUE(WriteFileBytes(path, "<html></html>"));
    char shortPath[MAX_PATH] = "";
    ASSERT_GT(GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath), 0u);
    ASSERT_STRNE(path.c_str(), shortPath) << "the file needs a short form that differs";
    const std::string mixedCase = "FiLe://" + path;
    const std::string missing = "file://" + folder_.File("Missing Page Name.html");
    const std::string otherScheme = "http://r.example/?to=file://" + path;
    const std::string quoted = rec + " \"%1\"";
    // The rows that find the command through the associations: ".HTM", then ".HTML", then
    // "HtmlDefBrowser". Each command is known by its marker.
    const char *const web = "www.lumora.example";
    auto started = [&](const char *marker) { return rec + " " + marker + " " + web; };
    const std::string command = std::string(kPage) + "\\shell\\open\\command";
    const Entry htm = {".HTM", kPage}, page = {command, rec + " page %1"};
    const Entry edit = {kPage + std::string("\\shell\\edit\\command"), rec + " edit %1"};
    const Entry html = {".HTML", kOther};
    const Entry htmlCommand = {std::string(kOther) + "\\shell\\open\\command", rec + " html %1"};
    const Entry fallback = {"HtmlDefBrowser\\shell\\open\\command", rec + " fallback %1"};
    // Values of 260 bytes and more with the terminator do not read; 259 + 1 do.
    const Entry id259 = {".HTM", std::string(259, 'Z')}, id260 = {".HTM", std::string(260, 'Z')};
    const std::string pad(259 - rec.size() - 9, 'x');
    const Entry page259 = {command, rec + " page %1 " + pad},
                page260 = {command, page259.value + "x"};
    struct Row {
        const char *what;
        std::vector<Entry> keys;
        const char *url;
        int result;
        std::string command; // the recorded command line; empty: nothing was started
    } rows[] = {
        {"plain http URL", PageBrowser(quoted), url.c_str(), 1, rec + " \"" + url + "\""},
        {"file URL in mixed case: the short path, the caller's case", PageBrowser(quoted),
         mixedCase.c_str(), 1, rec + " \"FiLe://" + shortPath + "\""},
        // GetShortPathNameA writes nothing for a missing file: the path stays.
        {"file URL of a missing file", PageBrowser(quoted), missing.c_str(), 1,
         rec + " \"" + missing + "\""},
        {"the first \"://\" is another scheme's", PageBrowser(quoted), otherScheme.c_str(), 1,
         rec + " \"" + otherScheme + "\""},
        // The rewrite and the formatting rows are native (browser_text_test); one here.
        {"-nohome and more switches", PageBrowser(rec + " -nohome -new-window -x"), url.c_str(), 1,
         rec + " " + url},
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
        {".HTM first", Keys(htm, page, html, htmlCommand, fallback), web, 1, started("page")},
        {".HTML when .HTM is missing", Keys(html, htmlCommand, fallback), web, 1, started("html")},
        {"the fallback, never .HTML, when .HTM's identifier has no open command",
         Keys(htm, edit, html, htmlCommand, fallback), web, 1, started("fallback")},
        {"the fallback alone", Keys(fallback), web, 1, started("fallback")},
        {"identifier of 260 bytes is missing", Keys(id260, html, htmlCommand, fallback), web, 1,
         started("html")},
        {"identifier of 259 bytes reads (but names no key)",
         Keys(id259, html, htmlCommand, fallback), web, 1, started("fallback")},
        {"template of 259 bytes reads", Keys(htm, page259, fallback), web, 1,
         started("page") + " " + pad},
        {"template of 260 bytes is missing", Keys(htm, page260, fallback), web, 1,
         started("fallback")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        std::string got = Launch(row.keys, row.url, row.result, !row.command.empty());
        EXPECT_EQ(row.command.empty() ? "" : row.command + "\n", got);
    }
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

} // namespace
