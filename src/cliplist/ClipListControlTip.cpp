// The list's tooltip: over a row whose label is cut, the whole label's first line; elsewhere the hint
// the container gives (how to use the list). It comes when the pointer rests, and again on each new row.
#include <windows.h>
#include <commctrl.h>

#include "common/GdiScope.h"
#include "common/WindowText.h"
#include "cliplist/ClipListControl.h"

namespace cliplist {

namespace {
std::string FirstLine(const std::string& label) { return label.substr(0, label.find_first_of("\r\n")); }
}  // namespace

void ClipListControl::CreateTip() {
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                           hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip_) return;
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(picList_);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 480);  // long hints wrap
}

int ClipListControl::ItemAt(int y) const {
    return model_.IndexAt(model_.TopIndex() + (y < 0 ? -1 : y / (rowHeight_ > 0 ? rowHeight_ : 1)));
}

bool ClipListControl::LabelCut(int index) const {
    if (index < 0 || index >= model_.ListCount()) return false;
    const std::wstring text = common::Widen(FirstLine(model_.ItemText(index)));
    gdi::WindowDC dc(picList_);
    gdi::Selection use(dc.get(), rowFont_.get());
    SIZE size = {};
    GetTextExtentPoint32W(dc.get(), text.c_str(), int(text.size()), &size);
    const Rect room = TextRect(0, rowHeight_, ClientWidth(), WidthTakenByScrollBar(), itemOffset_, itemTextLeft_);
    return size.cx > room.right - room.left;
}

std::string ClipListControl::TipAt(int y) const {
    const int index = ItemAt(y);
    return LabelCut(index) ? FirstLine(model_.ItemText(index)) : hint_;
}

bool ClipListControl::AnswerTip(LPARAM lp) {
    auto* asked = reinterpret_cast<NMTTDISPINFOW*>(lp);
    if (!tip_ || asked->hdr.hwndFrom != tip_ || asked->hdr.code != TTN_GETDISPINFOW) return false;
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(picList_, &at);
    tipText_ = common::Widen(TipAt(at.y));
    asked->lpszText = &tipText_[0];
    return true;
}

// A new row under the pointer takes the tip away; resting there brings it back with that row's text.
void ClipListControl::FollowTip(int y) {
    const int row = ItemAt(y);
    if (row == tipRow_) return;
    tipRow_ = row;
    if (tip_) SendMessageW(tip_, TTM_POP, 0, 0);
}

}  // namespace cliplist
