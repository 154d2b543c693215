// Exact counts of the GDI objects and kernel handles this process holds, for the leak
// checks of the benchmark and the tests. The system's own counters do not serve under Wine:
// GetGuiResources answers 0 and GetProcessHandleCount does not work.
#pragma once
#include <windows.h>

struct ResourceCount {
    unsigned gdiObjects;
    unsigned kernelHandles;
    unsigned userObjects;
    size_t privateBytes;
};

// GDI objects: what GetGuiResources reports where it reports anything; otherwise
// GetObjectType on every handle index with the high word zero, which Wine resolves to the
// object in that slot whatever its generation.
unsigned CountGdiObjects();

// Kernel handles: every handle value that GetHandleInformation accepts, up to a long run
// of free values past the last one in use.
unsigned CountKernelHandles();

// USER objects as the system reports them; where it answers 0 (Wine), the windows this
// process owns: top-level, message-only and their children.
unsigned CountUserObjects();

// Private bytes: this process's committed private pages, region by region.
size_t CountPrivateBytes();

ResourceCount CountResources();

// The counters' self-check: ten fonts and ten events made on purpose must raise the counts
// by exactly ten each, and releasing them must bring the counts back.
bool CountersSeeTenLeaks();
