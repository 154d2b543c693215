// zellint over a corpus of real mistakes: the findings each file gives, the exit statuses,
// the output formats (held by expected files), --fix and --explain.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "files.h"
#include "lint.h"
#include "zellint.h"

namespace {

struct ZellintCorpus : testing::Test {
    void SetUp() override {
        ASSERT_EQ(0, chdir(ZELLINT_CORPUS));
    }
};

// zellint's output (stdout, then stderr) and its exit status.
std::pair<std::string, int> Zellint(std::vector<std::string> args) {
    std::string out, err;
    int status = RunZellint(args, &out, &err);
    return {out + err, status};
}

TEST_F(ZellintCorpus, EachMistakeGivesItsFindings) {
    struct Row {
        const char *file;
        std::vector<std::string> findings; // rule@line
    } rows[] = {
        {"clean.ini", {}},
        {"lf-only.ini", {}},
        {"quoted.ini", {}},
        {"ten-bytes.ini", {"too-small@1"}},
        {"eleven-bytes.ini", {"unknown-key@2"}},
        {"utf8-bom.ini", {"utf8-bom@1"}},
        {"bom-comment.ini", {"utf8-bom@1"}},
        {"utf8-text.ini", {"encoding@6"}},
        {"utf16-cjk.ini", {"encoding@6"}},
        {"utf16-dotted-i.ini", {"unknown-section@1", "unknown-key@4"}}, // dotted capital I
        {"typo-key.ini", {"unknown-key@2"}},
        {"upsell-line17.ini", {"unknown-key@7"}},
        {"wrong-section.ini", {"unknown-key@7"}},
        {"before-section.ini", {"unknown-key@1"}},
        {"no-equals.ini", {"unknown-key@2", "duplicate-key@3"}},
        {"unknown-section.ini", {"unknown-section@7"}},
        {"duplicate-key.ini", {"duplicate-key@4"}},
        {"duplicate-section.ini", {"duplicate-section@7"}},
        {"long-name.ini", {"truncated@2"}},
        {"cut-values.ini", {"truncated@2", "truncated@5", "out-of-range@8"}},
        {"font-junk.ini", {"not-a-number@7", "not-a-number@8"}},
        {"negative-width.ini", {"out-of-range@7"}},
        {"huge-font.ini", {"out-of-range@3"}},
        {"full-version-true.ini", {"full-version-value@3"}},
        {"url-quote.ini", {"url-encoded@5"}},
        {"url-evil.ini", {"url-encoded@5", "url@5"}},
        {"url-no-scheme.ini", {"url@5"}},
        {"url-javascript.ini", {"url@5"}},
        {"missing-files.ini", {"missing-file@4", "missing-file@8"}},
        {"png-picture.ini", {"picture@7"}},
        {"cut-picture.ini", {"picture@7"}},
        {"wide-picture.ini", {"picture@7"}},
        {"tilde-big-font.ini", {"layout@2"}},
        {"ninth-line.ini",
         {"layout@10", "layout@11", "layout@12", "layout@13", "layout@14", "layout@15",
          "layout@16"}},
    };
    for (const Row &row : rows) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(row.file, &bytes)) << row.file;
        std::vector<std::string> got;
        for (const Finding &f : LintProfile(bytes, "."))
            got.push_back(f.rule + "@" + std::to_string(f.line));
        EXPECT_EQ(row.findings, got) << row.file;
    }
}

TEST_F(ZellintCorpus, ExitStatusesAndFormats) {
    struct Row {
        std::vector<std::string> args;
        int status;
        const char *expected; // a file under ../expected, or NULL
    } rows[] = {
        {{"clean.ini"}, 0, NULL},
        {{"typo-key.ini"}, 0, NULL},
        {{"--werror", "typo-key.ini"}, 1, NULL},
        {{"font-junk.ini"}, 1, "font-junk.txt"},
        {{"--format=json", "font-junk.ini"}, 1, "font-junk.json"},
        {{"--format=sarif", "font-junk.ini"}, 1, "font-junk.sarif"},
        {{"utf8-text.ini"}, 0, "utf8-text.txt"}, // the text as the game shows it, converted once
        {{"--values", "cp1252-text.ini"}, 0, "cp1252-text.values.json"}, // quotes off, UTF-8 once
        {{"--values", "ten-bytes.ini"}, 0, "ten-bytes.values.json"},
        // Every default, and values cut to their fields (the library loads the same: the
        // Windows-side profile_diff_test).
        {{"--values", "eleven-bytes.ini"}, 0, "eleven-bytes.values.json"},
        {{"--values", "cut-values.ini"}, 0, "cut-values.values.json"},
        {{"no-such.ini"}, 2, NULL},
        {{"."}, 2, NULL},
        {{"--format=xml", "clean.ini"}, 2, NULL},
        {{"clean.ini", "typo-key.ini"}, 2, NULL},
        {{"--explain", "no-such-rule"}, 2, NULL},
    };
    for (const Row &row : rows) {
        auto [out, status] = Zellint(row.args);
        EXPECT_EQ(row.status, status) << row.args.back();
        std::string expected;
        if (row.expected != NULL) {
            ASSERT_TRUE(ReadWholeFile(std::string("../expected/") + row.expected, &expected));
            EXPECT_EQ(expected, out) << row.expected;
        }
    }
}

// A folder finds its profile in any letter case, and --fix rewrites that file.
TEST_F(ZellintCorpus, FixRemovesOnlyTheMarkAndKeepsACopy) {
    std::string original, fixed, copy, dir = testing::TempDir() + "zellint-fix/";
    ASSERT_TRUE(ReadWholeFile("utf8-bom.ini", &original));
    mkdir(dir.c_str(), 0755);
    ASSERT_TRUE(WriteWholeFile(dir + "LAUNCH.INI", original));
    EXPECT_EQ(0, Zellint({"--fix", dir}).second);
    ASSERT_TRUE(ReadWholeFile(dir + "LAUNCH.INI", &fixed));
    ASSERT_TRUE(ReadWholeFile(dir + "LAUNCH.INI.bak", &copy));
    EXPECT_EQ(original.substr(3), fixed);
    EXPECT_EQ(original, copy);
}

TEST(Zellint, EveryRuleIsExplained) {
    for (size_t i = 0; i < kRuleCount; i++)
        EXPECT_NE("", ExplainRule(kRuleNames[i])) << kRuleNames[i];
}

} // namespace
