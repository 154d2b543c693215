// The profile's location and the information address. (A folder too long to split, and a
// path that does not fit: the profile-path fuzzer holds that nothing is cut and nothing is
// left behind, the hostile-input table that 259 characters load and 260 do not. A base that
// does not fit: the information-address fuzzer checks the cut, its length and that no blank
// is left, on every input.)
#include <gtest/gtest.h>
#include <string.h>

#include "browser_code_pages.h"
#include "profile/info_url.h"
#include "profile/profile_path.h"

TEST(ProfilePath, SplitsLikeTheRuntime) {
    struct Row {
        const char *path;
        NextCharFn next;
        const char *drive, *dir;
    } rows[] = {
        {"C:\\Games\\Duel\\duel.exe", NextByte, "C:", "\\Games\\Duel\\"},
        {"C:\\duel.exe", NextByte, "C:", "\\"},
        {"\\\\server\\share\\duel.exe", NextByte, "", "\\\\server\\share\\"},
        {"C:/Games/duel.exe", NextByte, "C:", "/Games/"},
        {"duel.exe", NextByte, "", ""},
        {"", NextByte, "", ""},
        // "\x95\x5c" is one character whose trail byte is a backslash.
        {"C:\\\x95\x5c\\x.exe", NextChar932, "C:", "\\\x95\x5c\\"},
        {"C:\\\x95\x5cx.exe", NextChar932, "C:", "\\"},
        {"C:\\\x95\x5cx.exe", NextByte, "C:", "\\\x95\x5c"},
    };
    for (const Row &row : rows) {
        char drive[260], dir[260];
        ASSERT_TRUE(SplitDriveAndDirectory(row.path, row.next, drive, sizeof drive, dir,
                                           sizeof dir))
            << row.path;
        EXPECT_STREQ(row.drive, drive) << row.path;
        EXPECT_STREQ(row.dir, dir) << row.path;
    }
}

// (A plain name with a blank: DialogEnds.AtStart's "more games" row, on the dialog.)
TEST(InfoUrl, AppendsTheNameAndReplacesBlanksAndTildes) {
    struct Row {
        const char *base, *name, *expected;
    } rows[] = {
        {"http://h/i.html", "Deep Space~Rescue",
         "http://h/i.html?src=LumoraInterstitial&GameName=Deep_Space_Rescue"},
        {"http://h/a b~c", "", "http://h/a_b_c?src=LumoraInterstitial&GameName="},
        {"http://h/", "100% &fun?", "http://h/?src=LumoraInterstitial&GameName=100%_&fun?"},
    };
    for (const Row &row : rows) {
        char url[512];
        strcpy(url, row.base);
        EXPECT_TRUE(BuildInfoUrl(url, sizeof url, row.name));
        EXPECT_STREQ(row.expected, url);
    }
}
