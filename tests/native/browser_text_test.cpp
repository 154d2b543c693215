// The browser launcher's text work: the scheme split and the file rule. (The code-page-aware
// search, the template rewrite and the command formatting with its cut: their fuzz targets
// check them on every input, starting from the cases in tests/fuzz/corpus. A file URL in
// mixed case: the Windows-side browser_test, with a real short path.)
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "browser/browser_text.h"
#include "browser_code_pages.h"

TEST(BrowserText, SchemeIsEverythingUpToTheFirstSeparator) {
    struct Row {
        const char *url;
        NextCharFn next;
        size_t expected;
    } rows[] = {
        {"http://www.example.com/", NextByte, 7},
        {"www.lumora.example", NextByte, 0},
        {"", NextByte, 0},
        {"http://r.example/?to=file://C:\\a.htm", NextByte, 7},
        {"://", NextByte, 3},
        {"\x81://x://", NextChar932, 8},
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.expected, SchemeLength(row.url, row.next != NextByte, row.next)) << row.url;

    EXPECT_TRUE(IsFileScheme("file://"));
    EXPECT_FALSE(IsFileScheme("FILE://")); // compared after lower-casing
    EXPECT_FALSE(IsFileScheme("file:"));
    EXPECT_FALSE(IsFileScheme("http://"));
    EXPECT_FALSE(IsFileScheme(""));
}

TEST(BrowserText, FileRuleReplacesThePathOnlyWithWrittenText) {
    struct Row {
        const char *url, *shortPath, *expected;
    } rows[] = {
        {"file://C:\\Long Folder\\Page One.html", "C:\\LONGFO~1\\PAGEON~1.HTM",
         "file://C:\\LONGFO~1\\PAGEON~1.HTM"},
        // Nothing written (no such file, empty path, too long): the path stays.
        {"file://C:\\Missing Folder\\a.htm", "", "file://C:\\Missing Folder\\a.htm"},
        {"file://", "", "file://"},
        // The first occurrence over the whole URL: here inside the scheme itself.
        {"file://e", "E", "filE://e"},
    };
    for (const Row &row : rows) {
        char url[kBrowserBufferSize];
        CopyText(url, sizeof url, row.url);
        EXPECT_TRUE(ApplyShortPath(url, sizeof url, row.shortPath, false, NextByte));
        EXPECT_STREQ(row.expected, url) << row.url;
    }
    // In double-byte mode too, the path behind "file://" always starts a character.
    char url[kBrowserBufferSize] = "file://C:\\\x95\x5c\\Long Name.htm";
    ApplyShortPath(url, sizeof url, "C:\\\x95\x5c\\LONGNA~1.HTM", true, NextChar932);
    EXPECT_STREQ("file://C:\\\x95\x5c\\LONGNA~1.HTM", url);
    // A short form that would not fit the copy's buffer leaves the copy as it was.
    char tight[12] = "file://a.ht";
    EXPECT_FALSE(ApplyShortPath(tight, sizeof tight, "A~1234.HTM", false, NextByte));
    EXPECT_STREQ("file://a.ht", tight);
}
