// What a process holds of the system's objects. Windows answers GetGuiResources and
// GetProcessHandleCount; Wine answers 0 to both, so there the tables are probed slot by slot:
// a GDI handle whose upper half is 0 matches whatever object holds that slot, USER handles are
// 0x20 + 2 * slot, and kernel handles are multiples of 4 from the lowest free.
#pragma once
#include <windows.h>

namespace testsupport {

struct ResourceCounts {
    int gdi = 0, user = 0, handles = 0;
};

inline ResourceCounts CountResources() {
    ResourceCounts counts;
    HANDLE self = GetCurrentProcess();
    counts.gdi = static_cast<int>(GetGuiResources(self, GR_GDIOBJECTS));
    if (counts.gdi == 0)
        for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) counts.gdi += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    counts.user = static_cast<int>(GetGuiResources(self, GR_USEROBJECTS));
    if (counts.user == 0) {
        const DWORD me = GetCurrentProcessId();
        for (ULONG_PTR slot = 0; slot < 0x10000; ++slot) {
            HWND window = reinterpret_cast<HWND>(0x20 + 2 * slot);
            DWORD owner = 0;
            counts.user += IsWindow(window) && GetWindowThreadProcessId(window, &owner) && owner == me;
        }
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(self, &handles) && handles) {
        counts.handles = static_cast<int>(handles);
    } else {
        DWORD flags;
        for (ULONG_PTR value = 4; value < 4 * 0x4000; value += 4)
            counts.handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
    return counts;
}

}  // namespace testsupport
