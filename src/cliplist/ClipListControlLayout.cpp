#include "cliplist/ClipListControl.h"

#include <algorithm>

namespace cliplist {

int ClipListControl::ClientWidth() const {
    RECT r = {};
    if (hwnd_) GetClientRect(hwnd_, &r);
    return r.right;
}

int ClipListControl::TextHeight() const {
    gdi::WindowDC dc(picList_);
    gdi::Selection use(dc.get(), rowFont_.get());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.get(), &tm);
    return tm.tmHeight > 0 ? tm.tmHeight : 1;
}

void ClipListControl::RecreateFonts() {
    LOGFONTW plain = font_;
    plain.lfUnderline = FALSE;
    gdi::Font row(CreateFontIndirectW(&plain));
    // An open edit box takes the new font before the old one is deleted.
    editor_.TakeFont(row.get());
    rowFont_ = std::move(row);
    plain.lfUnderline = TRUE;
    underlineFont_ = gdi::Font(CreateFontIndirectW(&plain));
}

void ClipListControl::SizeChanged() {
    if (!hwnd_ || !picList_) return;
    rowHeight_ = cliplist::RowHeight(itemHeightAuto_, itemHeight_, TextHeight());
    RECT client, outer;
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &outer);
    // A control smaller than one row still shows one rather than collapsing to its border.
    const int rows = std::max(1, cliplist::VisibleRows(client.bottom, rowHeight_));
    const int outerHeight = outer.bottom - outer.top;
    const int snapped = SnapOuterHeight(outerHeight, client.bottom, rows, rowHeight_);
    if (snapped != outerHeight && !snappingHeightToRows_) {
        // The nested size change finds the same row count and finishes the layout.
        snappingHeightToRows_ = true;
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, snapped,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        snappingHeightToRows_ = false;
        return;
    }
    resizing_ = true;
    MoveWindow(picList_, 0, 0, client.right - WidthTakenByScrollBar(), client.bottom, FALSE);
    MoveWindow(sbVert_, client.right - scrollBarWidth_, 0, scrollBarWidth_, client.bottom, FALSE);
    input_.SetRowHeight(rowHeight_);
    input_.SetClientHeight(client.bottom);
    modelWindowSide_.SetVisibleRows(rows);
    resizing_ = false;
    InvalidateRect(picList_, nullptr, TRUE);
}

void ClipListControl::OnVScroll(int code) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(sbVert_, SB_CTL, &si);
    const int highest = std::max(0, model_.ScrollMaximum());
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= model_.VisibleRows(); break;
    case SB_PAGEDOWN: pos += model_.VisibleRows(); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = highest; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    default: return;
    }
    pos = std::clamp(pos, 0, highest);
    SetScrollPos(sbVert_, SB_CTL, pos, TRUE);
    modelWindowSide_.ScrollBarMoved(pos, code == SB_THUMBTRACK);
}

Rect ClipListControl::RowRect(int row) const {
    return cliplist::RowRect(row, rowHeight_, ClientWidth(), WidthTakenByScrollBar());
}

void ClipListControl::ShowScrollBar(bool shown, int largeChange) {
    if (!sbVert_) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    if (shown) {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_PAGE;
        si.nPage = static_cast<UINT>(std::max(1, largeChange));
        SetScrollInfo(sbVert_, SB_CTL, &si, FALSE);
        MoveWindow(sbVert_, client.right - scrollBarWidth_, 0, scrollBarWidth_, client.bottom, FALSE);
    }
    MoveWindow(picList_, 0, 0, client.right - (shown ? scrollBarWidth_ : 0), client.bottom, FALSE);
    ShowWindow(sbVert_, shown ? SW_SHOWNA : SW_HIDE);
}

void ClipListControl::SetScrollRange(int maximum) {
    if (!sbVert_) return;
    // A proportional thumb: the page is VisibleRows, so positions run from 0 to `maximum`.
    const int page = std::max(1, model_.VisibleRows());
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = std::max(0, maximum) + page - 1;
    si.nPage = static_cast<UINT>(page);
    SetScrollInfo(sbVert_, SB_CTL, &si, IsWindowVisible(sbVert_) && paintHeld_ == 0);
}

void ClipListControl::SetScrollValue(int value) {
    if (sbVert_) SetScrollPos(sbVert_, SB_CTL, value, IsWindowVisible(sbVert_) && paintHeld_ == 0);
}

}  // namespace cliplist
