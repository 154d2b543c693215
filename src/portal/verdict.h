// What the portal client's answer means: the wait on the three events, read as a verdict.
#pragma once
#include <stdint.h>

// The wait takes the events Exit first, so that a client that signals several at once is
// read as taking over (the wait reports the lowest index).
enum { kWaitExit, kWaitPlay, kWaitPlaySilent, kEventCount };

const uint32_t kWaitTimeoutResult = 258;

struct PortalVerdict {
    int outcome;          // 1 go on, 2 the portal takes over
    int32_t handled;      // m_bPortalHandled
    const char *lines[2]; // the debug lines, in order; NULL where there is none
};

// The verdict for a result of the wait on the events in kWait order.
PortalVerdict VerdictForWait(uint32_t waitResult);
