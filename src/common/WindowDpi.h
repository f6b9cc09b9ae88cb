// The DPI of the system or of a monitor, on systems that scale each monitor apart (Windows 8.1 and
// later), else the system's. Loaded by name: the program also runs where these calls do not exist.
#pragma once

#include <windows.h>

namespace common {

// WM_DPICHANGED, which the headers hide for the Windows version the program is built for.
const UINT kDpiChangedMessage = 0x02E0;

inline int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

inline int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto get = reinterpret_cast<GetDpiForMonitorFn>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor")));
    UINT x = 0, y = 0;
    if (get && monitor && SUCCEEDED(get(monitor, 0 /* effective */, &x, &y)) && y > 0) return int(y);
    return SystemDpi();
}

// WM_DPICHANGED's lParam: the window put where the system suggests, at the new scale's size.
inline void MoveToSuggested(HWND window, const RECT* suggested) {
    if (!suggested) return;
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace common
