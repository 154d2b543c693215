// Exact counts of this process's GDI objects and kernel handles, and their self-check.
#include "resource_count_win.h"

namespace {

// Handle values are multiples of 4; the table fills from the bottom, so a run this long of
// free values lies past every handle in use.
const ULONG_PTR kFreeRunPastTheEnd = 4096;

} // namespace

unsigned CountGdiObjects() {
    DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return reported;
    unsigned count = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; index++) {
        if (GetObjectType((HGDIOBJ)index) != 0)
            count++;
    }
    return count;
}

unsigned CountKernelHandles() {
    unsigned count = 0;
    ULONG_PTR lastInUse = 0;
    for (ULONG_PTR value = 4; value - lastInUse <= 4 * kFreeRunPastTheEnd; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation((HANDLE)value, &flags)) {
            count++;
            lastInUse = value;
        }
    }
    return count;
}

ResourceCount CountResources() {
    ResourceCount count = {CountGdiObjects(), CountKernelHandles()};
    return count;
}

bool CountersSeeTenLeaks() {
    const int kLeaks = 10;
    ResourceCount before = CountResources();
    HFONT fonts[kLeaks];
    HANDLE events[kLeaks];
    for (int i = 0; i < kLeaks; i++) {
        fonts[i] =
            CreateFontA(10 + i, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        events[i] = CreateEventA(NULL, TRUE, FALSE, NULL);
    }
    ResourceCount leaking = CountResources();
    for (int i = 0; i < kLeaks; i++) {
        DeleteObject(fonts[i]);
        CloseHandle(events[i]);
    }
    ResourceCount after = CountResources();
    return leaking.gdiObjects == before.gdiObjects + kLeaks &&
           leaking.kernelHandles == before.kernelHandles + kLeaks &&
           after.gdiObjects == before.gdiObjects && after.kernelHandles == before.kernelHandles;
}
