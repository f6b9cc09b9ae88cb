#include "mainwindow/HistoryPopup.h"

#include "common/WindowClass.h"
#include "mainwindow/PopupRules.h"

namespace mainwindow {

namespace {
const wchar_t kClassName[] = L"ArdentiaHistoryPopup";
const int kWidth = 320, kHeight = 380, kFilterHeight = 24;
}  // namespace

HistoryPopup::~HistoryPopup() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool HistoryPopup::Create(HIMAGELIST kindIcons) {
    if (!common::RegisterUnicodeClassOnce(kClassName, WindowProc)) return false;
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"Ardentia history", WS_POPUP | WS_BORDER, 0, 0,
                            kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) return false;
    if (!clips_.Create(hwnd_, RECT{0, 0, kWidth - 2, kHeight - 2}, kFilterHeight, kindIcons, "ItemHeight=18\nItemTextLeft=22\n", true))
        return false;
    clips_.onChoose = [this](int position, bool plainText) {
        if (onChoose) onChoose(position, plainText);
    };
    clips_.onDelete = [this](int position) {
        if (onDelete) onDelete(position);
    };
    clips_.onPin = [this](int position) {
        if (onPin) onPin(position);
    };
    clips_.onEscape = [this] { Dismiss(); };
    return true;
}

void HistoryPopup::Open(std::vector<PopupItem> items) {
    SetWindowTextW(clips_.FilterBox(), L"");  // before the items: they are filtered once
    clips_.SetItems(std::move(items));
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const PopupPlace at = PlacePopup(pointer.x, pointer.y, kWidth, kHeight, work.left, work.top, work.right, work.bottom);
    SetWindowPos(hwnd_, HWND_TOPMOST, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    open_ = true;
    SetForegroundWindow(hwnd_);
    SetFocus(clips_.FilterBox());
}

void HistoryPopup::Update(std::vector<PopupItem> items) { clips_.SetItems(std::move(items)); }

void HistoryPopup::Close() {
    if (!open_) return;
    open_ = false;  // first: hiding deactivates, which would dismiss again
    ShowWindow(hwnd_, SW_HIDE);
}

void HistoryPopup::Dismiss() {
    Close();
    if (onDismiss) onDismiss();
}

LRESULT CALLBACK HistoryPopup::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = common::WindowOwner<HistoryPopup>(hwnd, message, lParam, [&](HistoryPopup* owner) { owner->hwnd_ = hwnd; });
    if (self) {
        // A click elsewhere closes it and leaves the focus where it went.
        if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) self->Close();
        if (message == WM_SETFOCUS) SetFocus(self->clips_.FilterBox());
        if (message == WM_NCDESTROY) self->hwnd_ = nullptr;
    }
    // The list keeps to whole rows: the strip below its last row is the window's, painted as the list's.
    if (message == WM_ERASEBKGND) {
        RECT all;
        GetClientRect(hwnd, &all);
        FillRect(reinterpret_cast<HDC>(wParam), &all, GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace mainwindow
