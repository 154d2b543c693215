// The browser launcher's text work: the code-page-aware search, the scheme split, the file
// rule, the template rewrite and the command formatting with its cut.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "browser/browser_text.h"
#include "browser_code_pages.h"

TEST(BrowserText, SearchStepsByCharacter) {
    struct Row {
        const char *text, *pattern;
        NextCharFn next; // null: no double-byte character sets, a plain byte search
        ptrdiff_t expected;
    } rows[] = {
        {"http://a", "://", nullptr, 4},
        {"http://a", "://", NextChar932, 4},
        {"www.lumora.example", "://", NextChar932, -1},
        {"", "", nullptr, 0},
        {"", "", NextChar932, -1}, // an empty text has no occurrence
        {"abc", "", NextChar932, 0},
        {"ab", "abc", NextChar932, -1},
        // "\x95\x5c" is one code page 932 character whose trail byte is a backslash.
        {"C:\x95\x5c\\x", "\\", nullptr, 3},
        {"C:\x95\x5c\\x", "\\", NextChar932, 4},
        // Trail bytes ':' and '/' (CharNextA takes any byte after a lead byte).
        {"\x81://x", "://", nullptr, 1},
        {"\x81://x", "://", NextChar932, -1},
        {"\x81://x://", "://", NextChar932, 5},
        {"a\x88/b/", "/", NextChar932, 4},
        // A match whose last byte leads a character running past it is no match ...
        {"ab\x95\x5c", "b\x95", nullptr, 1},
        {"ab\x95\x5c", "b\x95", NextChar932, -1},
        // ... but a lead byte just before the terminator is a character of its own.
        {"b\x95\x5c"
         "b\x95",
         "b\x95", NextChar932, 3},
        {"x\x95\x5cy", "\x95\x5c", NextChar932, 1},
        // Code page 936: "\xd6\xd0\xce\xc4" is two characters; its middle bytes are none.
        {"\xd6\xd0\xce\xc4", "\xd0\xce", nullptr, 1},
        {"\xd6\xd0\xce\xc4", "\xd0\xce", NextChar936, -1},
        {"\xd6\xd0\xce\xc4", "\xce\xc4", NextChar936, 2},
        {"C:\x81\x5c\\d", "\\", NextChar936, 4},
        // 0xa0 leads a character in code page 936, not in 932.
        {"\xa0:/", ":", NextChar932, 1},
        {"\xa0:/", ":", NextChar936, -1},
    };
    for (const Row &row : rows) {
        ptrdiff_t got = DbcsFind(row.text, row.pattern, row.next != nullptr,
                                 row.next != nullptr ? row.next : NextByte);
        EXPECT_EQ(row.expected, got) << "text \"" << row.text << "\" pattern \"" << row.pattern
                                     << "\" dbcs " << (row.next != nullptr);
    }
}

TEST(BrowserText, SchemeIsEverythingUpToTheFirstSeparator) {
    struct Row {
        const char *url;
        NextCharFn next;
        size_t expected;
    } rows[] = {
        {"http://www.example.com/", NextByte, 7},
        {"www.lumora.example", NextByte, 0},
        {"", NextByte, 0},
        {"FiLe://C:\\a.htm", NextByte, 7},
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
        {"FiLe://C:\\Long Folder\\a.htm", "C:\\LONGFO~1\\a.htm", "FiLe://C:\\LONGFO~1\\a.htm"},
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

TEST(BrowserText, RewritePlacesOnePlaceholder) {
    struct Row {
        const char *commandTemplate;
        bool rewritten;
        const char *expected;
    } rows[] = {
        {"\"C:\\b.exe\" \"%1\"", true, "\"C:\\b.exe\" \"%s\""},
        {"b.exe %1 %1", true, "b.exe %s %1"},
        {"b.exe -nohome \"%1\"", true, "b.exe -nohome \"%s\""},
        {"b.exe -nohome -new-window -x", true, "b.exe %s"},
        {"b.exe -nohome", true, "b.exe %s"},
        {"b.exe --nohome=1", true, "b.exe -%s"},
        {"%s %s %n %x %1", true, "%s %s %n %x %s"},
        {"b.exe %%1", true, "b.exe %%s"},
        {"b.exe", false, "b.exe"},
        {"b.exe %2 -NOHOME", false, "b.exe %2 -NOHOME"},
        {"", false, ""},
    };
    for (const Row &row : rows) {
        char buffer[kBrowserBufferSize];
        memset(buffer, 0xcc, sizeof buffer);
        CopyText(buffer, kRegistryReadLimit, row.commandTemplate);
        EXPECT_EQ(row.rewritten, RewriteCommandTemplate(buffer)) << row.commandTemplate;
        EXPECT_STREQ(row.expected, buffer) << row.commandTemplate;
    }
}

TEST(BrowserText, FormatTakesTheUrlAsItIsAndCutsAt1024) {
    const std::string a2000(2000, 'a');
    struct Row {
        const char *commandTemplate;
        std::string url;
        size_t size;
        std::string expected;
    } rows[] = {
        {"\"C:\\b.exe\" \"%s\"", "http://x/", 600, "\"C:\\b.exe\" \"http://x/\""},
        {"b %s", "http://x/a%20b?q=%s%n%d%%", 600, "b http://x/a%20b?q=%s%n%d%%"},
        {"%s %s %n %x %s", "U", 600, "U %s %n %x %s"},
        {"100%% %s", "U", 600, "100% U"},
        {"b.exe %s -x", "", 600, "b.exe  -x"}, // the retry: nothing in the URL's place
        {"x%s", std::string(1022, 'a'), 1532, "x" + std::string(1022, 'a')},
        {"x%s", std::string(1023, 'a'), 1533, "x" + std::string(1022, 'a')},
        {"b %s", a2000, 2510, "b " + a2000.substr(0, 1021)},
        {"b %s", "0123456789", 8, "b 01234"},
    };
    for (const Row &row : rows) {
        std::string out(row.size, '\xcc');
        FormatCommand(&out[0], row.size, row.commandTemplate, row.url.c_str());
        EXPECT_EQ(row.expected, out.c_str()) << row.commandTemplate << " / " << row.url.size();
    }
}
