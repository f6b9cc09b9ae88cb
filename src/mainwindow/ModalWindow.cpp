#include "mainwindow/ModalWindow.h"

#include <algorithm>
#include <map>

#include "common/WindowDpi.h"
#include "common/WindowText.h"
#include "shell/SystemLook.h"

namespace mainwindow {

namespace {

const wchar_t kDialogFontProperty[] = L"ArdentiaDialogFont";
const wchar_t kDialogDpiProperty[] = L"ArdentiaDialogDpi";
shell::Look gModalLook = shell::Look::kLight;  // read as a modal window opens, not at each control's paint

// The dialog font at a DPI, made once for each (a handful at most) and kept while the program runs.
HFONT DialogFontAt(int dpi, int systemDpi) {
    HFONT system = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (dpi == systemDpi) return system;
    static std::map<int, HFONT> fonts;
    auto it = fonts.find(dpi);
    if (it == fonts.end()) {
        LOGFONTW face = {};
        GetObjectW(system, sizeof(face), &face);
        face.lfHeight = MulDiv(face.lfHeight, dpi, systemDpi);
        face.lfWidth = 0;
        it = fonts.emplace(dpi, CreateFontIndirectW(&face)).first;
    }
    return it->second;
}

}  // namespace

DialogUnits::DialogUnits(HWND owner)
    : dpi(common::MonitorDpi(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST))), systemDpi(common::SystemDpi()) {}

HFONT DialogUnits::Font() const { return DialogFontAt(dpi, systemDpi); }

void DialogUnits::Adopt(HWND window) const {
    SetPropW(window, kDialogFontProperty, Font());
    SetPropW(window, kDialogDpiProperty, reinterpret_cast<HANDLE>(INT_PTR(dpi)));
}

HWND AddControl(const wchar_t* cls, const std::string& text, DWORD style, HWND parent, int id, int x, int y, int w,
                int h) {
    HWND control = CreateWindowExW(std::wstring(cls) == L"EDIT" ? WS_EX_CLIENTEDGE : 0, cls,
                                   common::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                   nullptr);
    HANDLE font = GetPropW(parent, kDialogFontProperty);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void RunModal(HWND hwnd, HWND owner, HWND focus, const bool& done) {
    RECT frame, around = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(hwnd, &frame);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    // Whole within the work area of the owner's screen, however small the owner or near its edge.
    MONITORINFO screen = {};
    screen.cbSize = sizeof(screen);
    GetMonitorInfoW(MonitorFromRect(&around, MONITOR_DEFAULTTONEAREST), &screen);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = std::max<int>(screen.rcWork.left, std::min<int>((around.left + around.right - width) / 2,
                                                                screen.rcWork.right - width));
    const int top = std::max<int>(screen.rcWork.top, std::min<int>((around.top + around.bottom - height) / 2,
                                                              screen.rcWork.bottom - height));
    SetWindowPos(hwnd, HWND_TOP, left, top, 0, 0, SWP_NOSIZE);
    // The face of a dialog box behind the controls, as the system's own colour or the look's.
    const shell::Look look = gModalLook = shell::SystemLook();
    HBRUSH face = shell::FaceBrushInLook(look);
    SetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(face ? face : GetSysColorBrush(COLOR_BTNFACE)));
    shell::FollowLookInTitleBar(hwnd, look);
    const bool ownerEnabled = owner && IsWindowEnabled(owner);
    if (ownerEnabled) EnableWindow(owner, FALSE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(focus);
    MSG msg;
    while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!done) PostQuitMessage(int(msg.wParam));  // the program is ending: its loop must see it too
    if (ownerEnabled) EnableWindow(owner, TRUE);
    RemovePropW(hwnd, kDialogFontProperty);
    RemovePropW(hwnd, kDialogDpiProperty);
    DestroyWindow(hwnd);
    if (owner) SetForegroundWindow(owner);
}

namespace {

bool ControlColoursInLook(UINT message, WPARAM wParam, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT && message != WM_CTLCOLORBTN) return false;
    HBRUSH brush = shell::ControlBrushInLook(gModalLook, message, reinterpret_cast<HDC>(wParam));
    result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
}

bool FollowDpiInModal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != common::kDpiChangedMessage) return false;
    const int dpi = HIWORD(wParam), was = int(reinterpret_cast<INT_PTR>(GetPropW(hwnd, kDialogDpiProperty)));
    if (was > 0 && dpi > 0 && dpi != was) {
        HFONT font = DialogFontAt(dpi, common::SystemDpi());
        SetPropW(hwnd, kDialogFontProperty, font);
        SetPropW(hwnd, kDialogDpiProperty, reinterpret_cast<HANDLE>(INT_PTR(dpi)));
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT at;
            GetWindowRect(child, &at);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&at), 2);
            const auto scale = [&](LONG v) { return MulDiv(v, dpi, was); };
            MoveWindow(child, scale(at.left), scale(at.top), scale(at.right - at.left), scale(at.bottom - at.top), FALSE);
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    common::MoveToSuggested(hwnd, reinterpret_cast<const RECT*>(lParam));
    InvalidateRect(hwnd, nullptr, TRUE);
    return true;
}

}  // namespace

bool ModalLookAndScale(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (ControlColoursInLook(message, wParam, result)) return true;
    result = 0;
    return FollowDpiInModal(hwnd, message, wParam, lParam);
}

}  // namespace mainwindow
