#include "cliplist/InPlaceEditor.h"

#include <commctrl.h>

#include <algorithm>

#include "common/WindowText.h"

namespace cliplist {

bool InPlaceEditor::CreateHidden(HWND parent, int id) {
    box_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    return box_ != nullptr;
}

bool InPlaceEditor::Open(HWND parent, int id, const Look& look, const std::string& text) {
    if (box_) DestroyWindow(box_);
    DWORD style = WS_CHILD;
    if (look.wordWrap)
        style |= ES_MULTILINE | ES_AUTOVSCROLL | (look.alignment == 1 ? ES_CENTER : look.alignment == 2 ? ES_RIGHT : ES_LEFT);
    else
        style |= ES_AUTOHSCROLL | ES_LEFT;
    const RECT& r = look.at;
    box_ = CreateWindowExW(0, L"EDIT", L"", style, r.left, r.top, std::max(1, int(r.right - r.left)),
                           std::max(1, int(r.bottom - r.top)), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
    if (!box_) return false;
    wordWrap_ = look.wordWrap;
    SetWindowSubclass(box_, BoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SendMessageA(box_, WM_SETFONT, reinterpret_cast<WPARAM>(look.font), FALSE);
    back_ = look.back;
    text_ = look.text;
    brush_ = gdi::Brush(CreateSolidBrush(back_));
    common::SetWindowTextUtf8(box_, text);
    SendMessageA(box_, EM_SETSEL, 0, -1);
    SetWindowPos(box_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    open_ = true;
    ::SetFocus(box_);
    return true;
}

void InPlaceEditor::Close(bool keepText) {
    if (!open_) return;
    open_ = false;  // first: hiding moves the focus, and the lost focus would close again
    const std::string text = keepText ? common::WindowText(box_) : std::string();
    const bool hadFocus = GetFocus() == box_;
    ShowWindow(box_, SW_HIDE);
    if (onClosed) onClosed(keepText, text, hadFocus);
}

void InPlaceEditor::TakeFont(HFONT font) {
    if (open_ && box_) SendMessageA(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool InPlaceEditor::Colours(HWND box, HDC dc, LRESULT& brush) const {
    if (box != box_ || !brush_) return false;
    SetBkColor(dc, back_);
    SetTextColor(dc, text_);
    brush = reinterpret_cast<LRESULT>(brush_.get());
    return true;
}

LRESULT CALLBACK InPlaceEditor::BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto* editor = reinterpret_cast<InPlaceEditor*>(self);
    switch (msg) {
        case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_CHAR:
            if (wp == 13 || (wp == 10 && !editor->wordWrap_)) {
                editor->Close(true);
                return 0;
            }
            if (wp == 27) {
                editor->Close(false);
                return 0;
            }
            break;
        case WM_KILLFOCUS: editor->Close(false); break;
        case WM_NCDESTROY: RemoveWindowSubclass(hwnd, BoxProc, 1); break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace cliplist
