// The one-argument formatter. (Copy and append: the text fuzzer checks their whole contract,
// cut, terminator and unterminated field, on every input.)
#include <gtest/gtest.h>
#include <string.h>

#include "common/text.h"

// The edges. (A format without a placeholder: the text fuzzer; directives in the text: the
// command-format fuzzer, which formats through this.)
TEST(Text, FormatTakesOneArgumentAndNothingElse) {
    struct Row {
        const char *format, *arg;
        size_t size;
        const char *expected;
        bool complete;
    } rows[] = {
        {"%", "A", 64, "%", true},
        {"ab%scd", "0123456789", 8, "ab01234", false},
        {"%s", NULL, 8, "", true},
    };
    for (const Row &row : rows) {
        char out[64];
        memset(out, 0xcc, sizeof out);
        bool complete = FormatWithOneText(out, row.size, row.format, row.arg);
        EXPECT_STREQ(row.expected, out) << "format \"" << row.format << "\"";
        EXPECT_EQ(row.complete, complete) << "format \"" << row.format << "\"";
        if (row.size < sizeof out) {
            EXPECT_EQ((char)0xcc, out[row.size]) << "format \"" << row.format << "\" overran";
        }
    }
}
