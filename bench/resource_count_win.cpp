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

static BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId()) {
        ++*(unsigned *)count;
        EnumChildWindows(hwnd, CountOwnWindow, count);
    }
    return TRUE;
}

unsigned CountUserObjects() {
    unsigned count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (count == 0) {
        EnumWindows(CountOwnWindow, (LPARAM)&count);
        for (HWND w = NULL; (w = FindWindowExA(HWND_MESSAGE, w, NULL, NULL)) != NULL;)
            CountOwnWindow(w, (LPARAM)&count);
    }
    return count;
}

size_t CountPrivateBytes() {
    size_t bytes = 0;
    MEMORY_BASIC_INFORMATION region;
    for (char *at = NULL; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = (char *)region.BaseAddress + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            bytes += region.RegionSize;
    }
    return bytes;
}

ResourceCount CountResources() {
    ResourceCount count = {CountGdiObjects(), CountKernelHandles(), CountUserObjects(),
                           CountPrivateBytes()};
    return count;
}

bool CountersSeeTenLeaks() {
    const int kLeaks = 10;
    // The first window walk opens handles of its own (the desktop's) that stay open: counted
    // once before, they do not show as leaks.
    CountResources();
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
