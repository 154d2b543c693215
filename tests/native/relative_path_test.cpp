// zelpreview's way from its own folder to the profile's copy, which the library appends to
// the program's folder.
#include <gtest/gtest.h>

#include "relative_path.h"

TEST(RelativePath, StepsUpToTheSharedFolderOnlyOnTheSameDrive) {
    struct Row {
        const char *from, *to, *expected; // NULL: no way
    } rows[] = {
        {"Z:\\work\\build\\bin\\", "Z:\\work\\build\\bin\\s\\launch.ini", "s\\launch.ini"},
        {"Z:\\work\\build\\bin", "Z:\\work\\out\\s\\launch.ini", "..\\..\\out\\s\\launch.ini"},
        {"z:\\Work\\BIN\\", "Z:\\work\\bin\\launch.ini", "launch.ini"},
        {"Z:\\work\\bin\\", "Z:\\workshop\\launch.ini", "..\\..\\workshop\\launch.ini"},
        {"Z:\\a\\", "Z:\\launch.ini", "..\\launch.ini"},
        {"Z:\\a\\", "C:\\a\\launch.ini", NULL},
        {"\\\\host\\one\\bin\\", "\\\\host\\two\\launch.ini", NULL},
        {"\\\\host\\one\\bin\\", "\\\\host\\one\\s\\launch.ini", "..\\s\\launch.ini"},
    };
    for (const Row &row : rows) {
        std::string way = "unchanged";
        SCOPED_TRACE(std::string(row.from) + " to " + row.to);
        EXPECT_EQ(row.expected != NULL, RelativePath(row.from, row.to, &way));
        EXPECT_EQ(row.expected != NULL ? row.expected : "unchanged", way);
    }
}
