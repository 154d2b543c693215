// The portal client's answer, as the wait reports it, read as a verdict: here the waits no
// client can give. (Each event's verdict and the timeout: PortalTrace; with the answers, the
// record and the exit call they decide: the soak, tests/soak.)
#include <gtest/gtest.h>

#include <string>

#include "portal/verdict.h"

TEST(PortalVerdict, AFailedWaitGivesTheFallThroughLine) {
    // Another result, an abandoned wait, WAIT_FAILED.
    for (uint32_t wait : {3u, 0x80u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(wait);
        PortalVerdict verdict = VerdictForWait(wait);
        std::string output;
        for (const char *line : verdict.lines)
            output += line != nullptr ? line : "";
        EXPECT_EQ(1, verdict.outcome);
        EXPECT_EQ(0, verdict.handled);
        EXPECT_EQ("Fall-thru in event switch: should not happen\n", output);
    }
}
