// The portal client's answer, as the wait reports it, read as a verdict.
#include <gtest/gtest.h>

#include <string>

#include "portal/verdict.h"

TEST(PortalVerdict, EachWaitResultGivesItsOutcomeFlagAndLines) {
    const std::string decline = "Lumora will not handle the game\n";
    const std::string failed = "Fall-thru in event switch: should not happen\n";
    struct Row {
        uint32_t wait;
        int outcome, handled;
        std::string output;
    } rows[] = {
        {0, 2, 1, "Lumora will take over\n"},
        {1, 1, 0, decline},
        {2, 1, 1, "Lumora launched the game\n"},
        {258, 1, 0, "Lumora event timeout\n" + decline},
        {3, 1, 0, failed},
        {0x80, 1, 0, failed},       // an abandoned wait
        {0xFFFFFFFF, 1, 0, failed}, // WAIT_FAILED
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.wait);
        PortalVerdict verdict = VerdictForWait(row.wait);
        std::string output;
        for (const char *line : verdict.lines)
            output += line != nullptr ? line : "";
        EXPECT_EQ(row.outcome, verdict.outcome);
        EXPECT_EQ(row.handled, verdict.handled);
        EXPECT_EQ(row.output, output);
    }
}
