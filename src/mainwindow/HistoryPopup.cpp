#include "common/Guarded.h"
#include "mainwindow/HistoryPopup.h"

#include "common/WindowClass.h"
#include "common/WindowDpi.h"
#include "mainwindow/PopupRules.h"
#include "shell/SystemLook.h"

namespace mainwindow {

namespace {
const wchar_t kClassName[] = L"ArdentiaHistoryPopup";
const int kWidth = 320, kHeight = 380, kFilterHeight = 24;  // the size it is made at, before it fits its rows
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
    SendMessageW(clips_.FilterBox(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Type to search"));
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
    clips_.onFilterChanged = [this] {
        if (open_) FitToRows();
    };
    dpi_ = madeAtDpi_ = common::SystemDpi();  // its list's font and rows as made; the monitor it opens on scales them
    return true;
}

void HistoryPopup::Open(std::vector<PopupItem> items) {
    SetWindowTextW(clips_.FilterBox(), L"");  // before the items: they are filtered once
    clips_.SetItems(std::move(items));
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    HMONITOR screen = MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
    GetMonitorInfoW(screen, &monitor);
    work_ = monitor.rcWork;
    // At the scale of the monitor it opens on.
    const int dpi = common::MonitorDpi(screen);
    clips_.List().Rescale(dpi, dpi_);
    dpi_ = dpi;
    const PopupSize size = SizeNow();
    const PopupPlace at =
        PlacePopup(pointer.x, pointer.y, size.width, size.height, work_.left, work_.top, work_.right, work_.bottom);
    SetWindowPos(hwnd_, HWND_TOPMOST, at.left, at.top, size.width, size.height, SWP_SHOWWINDOW);
    LayOutClips();
    open_ = true;
    SetForegroundWindow(hwnd_);
    SetFocus(clips_.FilterBox());
}

void HistoryPopup::Update(std::vector<PopupItem> items) {
    clips_.SetItems(std::move(items));
    if (open_) FitToRows();
}

PopupSize HistoryPopup::SizeNow() const {
    const int frame = GetSystemMetrics(SM_CXBORDER);
    // The list's own border takes from its rows' room.
    RECT outer, inner;
    GetWindowRect(clips_.List().hwnd(), &outer);
    GetClientRect(clips_.List().hwnd(), &inner);
    const int listFrame = (outer.bottom - outer.top) - inner.bottom;
    return SizePopup(int(clips_.Shown().size()), clips_.List().RowHeight(), FilterHeight() + listFrame, frame, dpi_,
                     work_.right - work_.left, work_.bottom - work_.top);
}

// As tall as the rows shown, its top left where it opened, inside the work area still.
void HistoryPopup::FitToRows() {
    const PopupSize size = SizeNow();
    RECT now;
    GetWindowRect(hwnd_, &now);
    if (now.right - now.left == size.width && now.bottom - now.top == size.height) return;
    const PopupPlace at =
        PlacePopup(now.left, now.top, size.width, size.height, work_.left, work_.top, work_.right, work_.bottom);
    SetWindowPos(hwnd_, nullptr, at.left, at.top, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutClips();
}

int HistoryPopup::FilterHeight() const { return MulDiv(kFilterHeight, dpi_, madeAtDpi_); }

void HistoryPopup::LayOutClips() {
    RECT client;
    GetClientRect(hwnd_, &client);
    clips_.Move(client, FilterHeight());
}

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
        if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE)
            common::Guarded<bool>([&] { return self->Close(), true; }, false);
        if (message == WM_SETFOCUS) SetFocus(self->clips_.FilterBox());
        if (message == WM_NCDESTROY) self->hwnd_ = nullptr;
    }
    // The list keeps to whole rows: the strip below its last row is the window's, painted as the list's.
    const shell::Look look = self ? self->look_ : shell::Look::kLight;
    if (message == WM_ERASEBKGND) {
        RECT all;
        GetClientRect(hwnd, &all);
        HBRUSH back = shell::ControlBrushInLook(look, WM_CTLCOLOREDIT, reinterpret_cast<HDC>(wParam));
        FillRect(reinterpret_cast<HDC>(wParam), &all, back ? back : GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    // The filter box in the look's colours.
    if (HBRUSH back = shell::ControlBrushInLook(look, message, reinterpret_cast<HDC>(wParam)))
        return reinterpret_cast<LRESULT>(back);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace mainwindow
