#include "mainwindow/HistoryPopup.h"

#include "common/PropertyBag.h"
#include "common/WindowClass.h"
#include "common/WindowText.h"

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
    filter_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, kWidth - 2,
                              kFilterHeight, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!filter_ || !list_.Create(hwnd_, 1, 0, kFilterHeight, kWidth - 2, kHeight - kFilterHeight - 2)) return false;
    SendMessageW(filter_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowSubclass(filter_, FilterProc, 1, reinterpret_cast<DWORD_PTR>(this));
    list_.ReadProperties(common::PropertyBag::Parse("ItemHeight=18\nItemTextLeft=22\n"), common::FontSpec());
    list_.SetImageList(kindIcons);
    list_.SetEvents(this);
    return true;
}

void HistoryPopup::Open(std::vector<PopupItem> items) {
    TakeItems(std::move(items));
    SetWindowTextW(filter_, L"");
    Refilter();
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
    SetFocus(filter_);
}

void HistoryPopup::Update(std::vector<PopupItem> items) {
    const int chosen = Chosen();
    const std::string keep = chosen >= 0 && chosen < int(items_.size()) ? items_[std::size_t(chosen)].id : "";
    TakeItems(std::move(items));
    Refilter();
    for (std::size_t row = 0; row < shown_.size() && !keep.empty(); ++row)
        if (items_[std::size_t(shown_[row])].id == keep) list_.Model().SetListIndex(int(row));
}

void HistoryPopup::Close() {
    if (!open_) return;
    open_ = false;  // first: hiding deactivates, which would dismiss again
    ShowWindow(hwnd_, SW_HIDE);
}

void HistoryPopup::TakeItems(std::vector<PopupItem> items) {
    items_ = std::move(items);
    keys_.clear();
    for (PopupItem& item : items_) keys_.push_back(std::move(item.searchKey));
}

void HistoryPopup::Refilter() {
    const std::vector<int> matching = ShownClips(keys_, common::WindowText(filter_));
    shown_.clear();
    auto& model = list_.Model();
    model.Clear();
    for (int index : matching) {
        const PopupItem& item = items_[std::size_t(index)];
        model.AddItem(NumberedLabel(shown_.size(), item.label), item.icon, item.icon);
        model.SetItemPinned(model.ListCount() - 1, item.pinned);
        shown_.push_back(item.position);
    }
    if (!shown_.empty()) model.SetListIndex(0);
}

int HistoryPopup::Chosen() const {
    const int row = list_.Model().ListIndex();
    return row >= 0 && row < int(shown_.size()) ? shown_[std::size_t(row)] : -1;
}

void HistoryPopup::Dismiss() {
    Close();
    if (onDismiss) onDismiss();
}

void HistoryPopup::DblClick() {
    const int position = Chosen();
    if (position >= 0 && onChoose) onChoose(position, false);
}

// The filter box has the keyboard; the keys that move and choose act on the list instead.
bool HistoryPopup::FilterKey(WPARAM key) {
    auto& model = list_.Model();
    const int count = model.ListCount(), row = model.ListIndex(), page = std::max(1, model.VisibleRows() - 1);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
        case VK_UP: if (row > 0) model.SetListIndex(row - 1); return true;
        case VK_DOWN: if (row + 1 < count) model.SetListIndex(row + 1); return true;
        case VK_PRIOR: if (count) model.SetListIndex(std::max(0, row - page)); return true;
        case VK_NEXT: if (count) model.SetListIndex(std::min(count - 1, row + page)); return true;
        case VK_HOME: if (count) model.SetListIndex(0); return true;
        case VK_END: if (count) model.SetListIndex(count - 1); return true;
        case VK_ESCAPE: Dismiss(); return true;
        case VK_RETURN:
            if (Chosen() >= 0 && onChoose) onChoose(Chosen(), shift);
            return true;
        case VK_DELETE: {
            // Text after the caret, or a selection: the key is the filter's, as in any text box.
            DWORD from = 0, to = 0;
            SendMessageW(filter_, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            if (from != to || int(to) < GetWindowTextLengthW(filter_)) return false;
            if (Chosen() >= 0 && onDelete) {
                const int keep = row;
                onDelete(Chosen());
                if (model.ListCount() > 0) model.SetListIndex(std::min(keep, model.ListCount() - 1));
            }
            return true;
        }
        default: break;
    }
    // Ctrl+1 to Ctrl+9 pick the row with that number; plain digits are search text like any other
    // character ("2024" finds a date). Ctrl with Alt is AltGr, which types characters on many layouts.
    const bool ctrl = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
    if (key == 'P' && ctrl) {
        if (Chosen() >= 0 && onPin) onPin(Chosen());
        return true;
    }
    if (key >= '1' && key <= '9' && ctrl) {
        const std::size_t n = key - '1';
        if (n < shown_.size() && onChoose) onChoose(shown_[n], false);
        return true;
    }
    return false;
}

LRESULT CALLBACK HistoryPopup::FilterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    auto* popup = reinterpret_cast<HistoryPopup*>(self);
    if (message == WM_KEYDOWN && popup->FilterKey(wParam)) return 0;
    // The keys handled above also arrive as characters: they are no text.
    if (message == WM_CHAR && (wParam == '\r' || wParam == 27 || wParam == 0x10)) return 0;  // 0x10: Ctrl+P
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FilterProc, 1);
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    // Backspace and Delete included: they widen the list again.
    if (message == WM_CHAR || (message == WM_KEYDOWN && wParam == VK_DELETE)) popup->Refilter();
    return result;
}

LRESULT CALLBACK HistoryPopup::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = common::WindowOwner<HistoryPopup>(hwnd, message, lParam, [&](HistoryPopup* owner) { owner->hwnd_ = hwnd; });
    if (self) {
        // A click elsewhere closes it and leaves the focus where it went.
        if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) self->Close();
        if (message == WM_SETFOCUS) SetFocus(self->filter_);
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
