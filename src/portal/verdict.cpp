// The portal client's answer read as a verdict.
#include "verdict.h"

PortalVerdict VerdictForWait(uint32_t waitResult) {
    static const char kDecline[] = "Lumora will not handle the game\n";
    switch (waitResult) {
    case kWaitExit:
        return {2, 1, {"Lumora will take over\n", nullptr}};
    case kWaitPlay:
        return {1, 0, {kDecline, nullptr}};
    case kWaitPlaySilent:
        return {1, 1, {"Lumora launched the game\n", nullptr}};
    case kWaitTimeoutResult:
        return {1, 0, {"Lumora event timeout\n", kDecline}};
    default: // the wait failed
        return {1, 0, {"Fall-thru in event switch: should not happen\n", nullptr}};
    }
}
