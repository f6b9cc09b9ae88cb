#include "cliplist/ucClipList.h"

#include <windowsx.h>
#include <commctrl.h>
#include <oleacc.h>

#include <cmath>

#include <algorithm>
#include <cstring>

#include "cliplist/OleColor.h"
#include "cliplist/RowLook.h"
#include "common/DoEvents.h"
#include "common/WindowClass.h"
#include "common/WindowText.h"

namespace cliplist {

namespace {

const wchar_t kControlClass[] = L"ArdentiaClipList";
const wchar_t kSurfaceClass[] = L"ArdentiaClipListSurface";
const int kSurfaceId = 1, kScrollBarId = 2, kEditId = 3;
const int kCustomPointer = 99;
const DWORD kTintRop = 0x00A000C9;  // destination AND pattern

uint32_t SysColour(int index) { return GetSysColor(index); }
COLORREF Translate(uint32_t ole) { return TranslateColor(ole, SysColour); }

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    gdi::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

void Tint(HDC dc, const RECT& r, COLORREF colour) {
    gdi::Brush brush(CreateSolidBrush(colour));
    gdi::Selection use(dc, brush.get());
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, kTintRop);
}

void Gradient(HDC dc, const RECT& r, const Vertex16& from, const Vertex16& to, bool vertical) {
    TRIVERTEX v[2] = {{r.left, r.top, from.red, from.green, from.blue, 0},
                      {r.right, r.bottom, to.red, to.green, to.blue, 0}};
    GRADIENT_RECT rect = {0, 1};
    GradientFill(dc, v, 2, &rect, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void Box(HDC dc, RECT r, int inset, int radius, COLORREF pen, COLORREF fill) {
    gdi::Pen p(CreatePen(PS_SOLID, 1, pen));
    gdi::Brush b(CreateSolidBrush(fill));
    gdi::Selection usePen(dc, p.get());
    gdi::Selection useBrush(dc, b.get());
    InflateRect(&r, -inset, -inset);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
}

void StretchPicture(HDC dc, HBITMAP picture, int top, int width, int height) {
    BITMAP info;
    if (!GetObjectA(picture, sizeof(info), &info)) return;
    gdi::MemoryDC source(dc);
    gdi::Selection use(source.get(), picture);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, top, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

}  // namespace

ucClipList::ucClipList()
    : model_(*this),
      backNormal_{0x80000005, Translate(0x80000005)},
      backSelected_{0x8000000D, Translate(0x8000000D)},
      boxBorder_{0x8000000E, Translate(0x8000000E)},
      fontNormal_{0x80000008, Translate(0x80000008)},
      fontSelected_{0x8000000E, Translate(0x8000000E)},
      g1_{0x8000000D, ColorToVertex(Translate(0x8000000D))},
      g2_{0x80000005, ColorToVertex(Translate(0x80000005))} {}

ucClipList::~ucClipList() {
    *alive_ = false;
    if (hwnd_) DestroyWindow(hwnd_);
    if (ownedSelectionPicture_) DeleteObject(ownedSelectionPicture_);
    if (ownedMouseIcon_) DestroyCursor(ownedMouseIcon_);
}

bool ucClipList::Create(HWND parent, int id, int x, int y, int width, int height) {
    if (!common::RegisterUnicodeClassOnce(kControlClass, ControlProc, LoadCursor(nullptr, IDC_ARROW), CS_DBLCLKS) ||
        !common::RegisterUnicodeClassOnce(kSurfaceClass, SurfaceProc, nullptr, CS_DBLCLKS))
        return false;
    // The container's font is the ambient font; a parent without one gives the GUI font.
    HFONT ambient = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
    if (!ambient) ambient = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!font_.lfFaceName[0]) GetObjectA(ambient, sizeof(font_), &font_);
    RecreateFonts();
    itemHeight_ = TextHeight();
    // LBS_HASSTRINGS tells the system that list-box queries from other processes carry text, so it
    // carries the text across.
    HWND created = CreateWindowExW(WS_EX_CLIENTEDGE, kControlClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                   WS_CLIPCHILDREN | LBS_HASSTRINGS, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), this);
    return created != nullptr;
}

LRESULT CALLBACK ucClipList::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = common::WindowOwner<ucClipList>(hwnd, msg, lp, [&](ucClipList* owner) { owner->hwnd_ = hwnd; });
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        self->hwnd_ = self->picList_ = self->sbVert_ = self->txtEdit_ = nullptr;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->HandleControl(msg, wp, lp);
}

LRESULT CALLBACK ucClipList::SurfaceProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // The surface handle is needed before CreateWindowEx returns.
    auto* self = common::WindowOwner<ucClipList>(hwnd, msg, lp, [&](ucClipList* owner) { owner->picList_ = hwnd; });
    if (!self || msg == WM_NCDESTROY) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->HandleSurface(msg, wp, lp);
}

// The standard list-box queries, so that screen readers and scripts can read the clips; the system's
// accessibility proxy for list boxes asks them to name the list and its items.
bool ucClipList::AnswerListQuery(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const int index = int(wp);
    const bool valid = index >= 0 && index < model_.ListCount();
    switch (msg) {
    case LB_GETCOUNT:
        result = model_.ListCount();
        return true;
    case LB_GETCURSEL:
        result = model_.ListIndex() < 0 ? LB_ERR : model_.ListIndex();
        return true;
    case LB_GETTEXTLEN:  // UTF-16 units: this is a Unicode window
        result = valid ? LRESULT(common::Widen(model_.ItemText(index)).size()) : LB_ERR;
        return true;
    case LB_GETTEXT:
        if (!valid || !lp) {
            result = LB_ERR;
            return true;
        }
    {
        // Exactly the length LB_GETTEXTLEN gave and a NUL: the caller sized its buffer by that.
        const std::wstring text = common::Widen(model_.ItemText(index));
        std::memcpy(reinterpret_cast<wchar_t*>(lp), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        result = LRESULT(text.size());
        return true;
    }
    case LB_SETCURSEL:
        if (index < -1 || index >= model_.ListCount()) {
            result = LB_ERR;
            return true;
        }
        model_.SetListIndex(index);
        result = index;
        return true;
    case LB_GETSEL:
        result = valid ? LRESULT(model_.ItemSelected(index)) : LB_ERR;
        return true;
    case LB_GETTOPINDEX:
        result = model_.TopIndex();
        return true;
    case LB_GETITEMHEIGHT:
        result = rowHeight_;
        return true;
    case WM_GETOBJECT:
        // Wine 8 has the proxy only as a stub that ends the process when called: there the system's own
        // answer stands.
        if (LONG(lp) == OBJID_CLIENT && HasStdAccessibleProxy()) {
            IAccessible* proxy = nullptr;
            if (SUCCEEDED(CreateStdAccessibleProxyW(hwnd_, L"ListBox", OBJID_CLIENT, IID_IAccessible,
                                                    reinterpret_cast<void**>(&proxy)))) {
                result = LresultFromObject(IID_IAccessible, wp, proxy);
                proxy->Release();
                return true;
            }
        }
        return false;
    }
    // Any other list-box query is one this list does not answer: say so, as a list box would.
    if (msg >= LB_ADDSTRING && msg <= 0x01B2 /* LB_GETLISTBOXINFO */) {
        result = LB_ERR;
        return true;
    }
    return false;
}

bool ucClipList::HasStdAccessibleProxy() {
    static const bool has = !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    return has;
}

LRESULT ucClipList::HandleControl(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    if (AnswerListQuery(msg, wp, lp, answer)) return answer;
    switch (msg) {
    case WM_CREATE: {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        // WS_CLIPSIBLINGS: the rows are not painted over an open edit box.
        picList_ = CreateWindowExW(0, kSurfaceClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LBS_HASSTRINGS, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(kSurfaceId), instance, this);
        sbVert_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, hwnd_,
                                  reinterpret_cast<HMENU>(kScrollBarId), instance, nullptr);
        txtEdit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(kEditId), instance, nullptr);
        return (picList_ && sbVert_ && txtEdit_) ? 0 : -1;
    }
    case WM_SIZE:
        SizeChanged();
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wp));
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(picList_);
        return 0;
    case WM_ENABLE:
        EnableWindow(sbVert_, static_cast<BOOL>(wp));
        return 0;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lp) == txtEdit_ && editBrush_) {
            SetBkColor(reinterpret_cast<HDC>(wp), editBack_);
            SetTextColor(reinterpret_cast<HDC>(wp), editText_);
            return reinterpret_cast<LRESULT>(editBrush_.get());
        }
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT ucClipList::HandleSurface(UINT msg, WPARAM wp, LPARAM lp) {
    if (HandleInput(msg, wp, lp)) return 0;
    LRESULT answer = 0;
    // The surface holds the focus, so a screen reader following it asks here: it gets the list.
    if (AnswerListQuery(msg, wp, lp, answer)) return answer;
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(picList_, &r);
        Fill(reinterpret_cast<HDC>(wp), r, backNormal_.rgb);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(picList_, &ps);
        if (!resizing_) RedrawVisible(dc);
        EndPaint(picList_, &ps);
        return 0;
    }
    case WM_SETFOCUS:
        hasFocus_ = true;
        DrawFocus(model_.ListIndex());
        return 0;
    case WM_KILLFOCUS:
        hasFocus_ = false;
        RepaintItem(model_.ListIndex());
        return 0;
    case WM_GETDLGCODE: {
        // Enter and Escape reach KeyDown instead of the dialog manager; Tab still moves on.
        const MSG* pending = reinterpret_cast<const MSG*>(lp);
        const bool enterOrEscape = pending && (pending->message == WM_KEYDOWN || pending->message == WM_CHAR) &&
                                   (pending->wParam == VK_RETURN || pending->wParam == VK_ESCAPE);
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (enterOrEscape ? DLGC_WANTMESSAGE : 0);
    }
    case WM_SETCURSOR:
        // The container decides first, as with any child window: its hourglass wins over our pointer.
        if (HWND container = GetParent(hwnd_))
            if (SendMessageW(container, WM_SETCURSOR, wp, lp)) return TRUE;
        if (LOWORD(lp) == HTCLIENT && mousePointer_ == kCustomPointer && mouseIcon_) {
            SetCursor(mouseIcon_);
            return TRUE;
        }
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    }
    return DefWindowProcW(picList_, msg, wp, lp);
}

namespace {

int ButtonsOf(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? kLeftButton : 0) | ((keys & MK_RBUTTON) ? kRightButton : 0) |
           ((keys & MK_MBUTTON) ? kMiddleButton : 0);
}

int ShiftOf(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int KeyShift() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int PressedButton(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return kLeftButton;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return kRightButton;
    default: return kMiddleButton;
    }
}

}  // namespace

// Keys, presses, moves and releases on the surface go through the input rules; the surface keeps
// the mouse while a button is down, so a drag above or below the list still reports positions.
bool ucClipList::HandleInput(UINT msg, WPARAM wp, LPARAM lp) {
    const float x = float(GET_X_LPARAM(lp));
    const float y = float(GET_Y_LPARAM(lp));
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if (GetFocus() != picList_) ::SetFocus(picList_);
        SetCapture(picList_);
        // The second press of a double-click is no new press: the first already selected and clicked.
        if (msg == WM_LBUTTONDBLCLK) {
            input_.DblClick();
            clickAfterDblClick_ = false;
            return true;
        }
        input_.MouseDown(PressedButton(msg), ShiftOf(wp), x, y);
        return true;
    case WM_MOUSEMOVE:
        if (input_.MouseMove(ButtonsOf(wp), ShiftOf(wp), x, y) != AutoScroll::kNone) RunAutoScroll();
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const int remaining = ButtonsOf(wp);
        if (!remaining && GetCapture() == picList_) ReleaseCapture();
        input_.MouseUp(PressedButton(msg), ShiftOf(wp), x, y);
        if (msg == WM_LBUTTONUP && clickAfterDblClick_) input_.Click();
        clickAfterDblClick_ = true;
        return true;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != picList_) input_.CancelButton();
        return true;
    case WM_KEYDOWN:
        if (!keyPreview_) return false;
        input_.KeyDown(int(wp), KeyShift());
        return true;
    case WM_CHAR:
        model_.Events().KeyPress(int(wp));
        return true;
    case WM_KEYUP:
        model_.Events().KeyUp(int(wp), KeyShift());
        return true;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
        return true;
    }
    return false;
}

// One loop, however many moves arrive while it runs: each turn takes its interval from the pointer's
// latest distance, so the speed follows the pointer and the nesting stays at one.
void ucClipList::RunAutoScroll() {
    if (autoScrolling_) return;
    autoScrolling_ = true;
    const std::shared_ptr<bool> alive = alive_;
    bool first = true;
    DWORD last = GetTickCount();
    for (AutoScroll direction; (direction = input_.PendingAutoScroll()) != AutoScroll::kNone;) {
        const DWORD now = GetTickCount();
        if (first || now - last > DWORD(input_.AutoScrollInterval(direction))) {
            first = false;
            last = now;
            input_.AutoScrollStep(direction);
        }
        common::DoEvents();
        if (!*alive) return;
        if (GetCapture() != picList_) input_.CancelButton();  // the release went elsewhere
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    autoScrolling_ = false;
}

// The wheel scrolls the rows as the system's setting says (three per notch unless changed), leaving
// the current item where it is.
void ucClipList::OnMouseWheel(int delta) {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL) lines = UINT(std::max(1, model_.VisibleRows()));
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    if (notches == 0) return;
    wheelRemainder_ -= notches * WHEEL_DELTA;
    model_.ScrollTo(model_.TopIndex() - notches * int(lines));
}

int ucClipList::ClientWidth() const {
    RECT r = {};
    if (hwnd_) GetClientRect(hwnd_, &r);
    return r.right;
}

int ucClipList::TextHeight() const {
    gdi::WindowDC dc(picList_);
    gdi::Selection use(dc.get(), rowFont_.get());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.get(), &tm);
    return tm.tmHeight > 0 ? tm.tmHeight : 1;
}

void ucClipList::RecreateFonts() {
    LOGFONTA plain = font_;
    plain.lfUnderline = FALSE;
    gdi::Font row(CreateFontIndirectA(&plain));
    // An open edit box still draws with the old font: it takes the new one before the old is deleted.
    if (editing_ && txtEdit_) SendMessageA(txtEdit_, WM_SETFONT, reinterpret_cast<WPARAM>(row.get()), TRUE);
    rowFont_ = std::move(row);
    plain.lfUnderline = TRUE;
    underlineFont_ = gdi::Font(CreateFontIndirectA(&plain));
}

void ucClipList::SizeChanged() {
    if (!hwnd_ || !picList_) return;
    rowHeight_ = cliplist::RowHeight(itemHeightAuto_, itemHeight_, TextHeight());
    RECT client, outer;
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &outer);
    // A control smaller than one row still shows one rather than collapsing to its border.
    const int rows = std::max(1, cliplist::VisibleRows(client.bottom, rowHeight_));
    const int outerHeight = outer.bottom - outer.top;
    const int snapped = SnapOuterHeight(outerHeight, client.bottom, rows, rowHeight_);
    if (snapped != outerHeight && !snapping_) {
        // The nested size change finds the same row count and finishes the layout.
        snapping_ = true;
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, snapped,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        snapping_ = false;
        return;
    }
    resizing_ = true;
    MoveWindow(picList_, 0, 0, client.right - RowWidthCut(), client.bottom, FALSE);
    MoveWindow(sbVert_, client.right - scrollBarWidth_, 0, scrollBarWidth_, client.bottom, FALSE);
    input_.SetRowHeight(rowHeight_);
    input_.SetClientHeight(client.bottom);
    model_.SetVisibleRows(rows);
    resizing_ = false;
    InvalidateRect(picList_, nullptr, TRUE);
}

void ucClipList::OnVScroll(int code) {
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
    model_.OnScrollBarValue(pos, code == SB_THUMBTRACK);
}

Rect ucClipList::RowRect(int row) const {
    return cliplist::RowRect(row, rowHeight_, ClientWidth(), RowWidthCut());
}

// ---- what the model asks of the window ----

void ucClipList::RepaintAll() {
    if (!picList_ || resizing_) return;
    gdi::WindowDC dc(picList_);
    RedrawVisible(dc.get());
}

void ucClipList::RepaintItem(int index) {
    if (!picList_ || index < 0) return;
    gdi::WindowDC dc(picList_);
    DrawItem(dc.get(), index);
}

void ucClipList::DrawFocus(int index) {
    if (!picList_) return;
    gdi::WindowDC dc(picList_);
    DrawFocusOn(dc.get(), index);
}

void ucClipList::ClearSurface() {
    if (!picList_) return;
    RECT r;
    GetClientRect(picList_, &r);
    gdi::WindowDC dc(picList_);
    Fill(dc.get(), r, backNormal_.rgb);
}

void ucClipList::ShowScrollBar(bool shown, int largeChange) {
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

void ucClipList::SetScrollRange(int maximum) {
    if (!sbVert_) return;
    // A proportional thumb: the page is VisibleRows, so positions run from 0 to `maximum`.
    const int page = std::max(1, model_.VisibleRows());
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = std::max(0, maximum) + page - 1;
    si.nPage = static_cast<UINT>(page);
    SetScrollInfo(sbVert_, SB_CTL, &si, IsWindowVisible(sbVert_));
}

void ucClipList::SetScrollValue(int value) {
    if (sbVert_) SetScrollPos(sbVert_, SB_CTL, value, IsWindowVisible(sbVert_));
}

void ucClipList::CancelEdit() { CloseEdit(false); }

void ucClipList::StartEdit() {
    const int current = model_.ListIndex();
    if (current < 0 || !hwnd_) return;
    // A current item outside the visible rows has no row to cover: bring it into view first.
    const int top = model_.TopIndex(), rows = std::max(1, model_.VisibleRows());
    if (current < top)
        model_.ScrollTo(current);
    else if (current > top + rows - 1)
        model_.ScrollTo(current - rows + 1);
    const int r = current - model_.TopIndex();

    keyPreview_ = false;
    if (txtEdit_) DestroyWindow(txtEdit_);
    DWORD style = WS_CHILD;
    if (wordWrap_) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | (alignment_ == 1 ? ES_CENTER : alignment_ == 2 ? ES_RIGHT : ES_LEFT);
    } else {
        style |= ES_AUTOHSCROLL | ES_LEFT;
    }
    const int left = itemTextLeft_ + itemOffset_;
    const int width = RowRect(r).right - itemTextLeft_ - 2 * itemOffset_;
    const int textHeight = TextHeight();
    const int top_ = wordWrap_ ? r * rowHeight_ + itemOffset_ : r * rowHeight_ + (rowHeight_ - textHeight) / 2;
    const int height = wordWrap_ ? rowHeight_ - 2 * itemOffset_ : textHeight;
    txtEdit_ = CreateWindowExW(0, L"EDIT", L"", style, left, top_, std::max(1, width), std::max(1, height), hwnd_,
                               reinterpret_cast<HMENU>(kEditId), GetModuleHandleA(nullptr), nullptr);
    if (!txtEdit_) {
        keyPreview_ = true;
        return;
    }
    SetWindowSubclass(txtEdit_, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SendMessageA(txtEdit_, WM_SETFONT, reinterpret_cast<WPARAM>(rowFont_.get()), FALSE);
    const bool selectedLook = model_.ItemSelected(current) && selectModeStyle_ != 5;
    editBack_ = selectedLook ? backSelected_.rgb : backNormal_.rgb;
    editText_ = selectedLook ? fontSelected_.rgb : fontNormal_.rgb;
    editBrush_ = gdi::Brush(CreateSolidBrush(editBack_));
    const std::string& text = model_.ItemText(current);
    common::SetWindowTextUtf8(txtEdit_, text);
    SendMessageA(txtEdit_, EM_SETSEL, 0, -1);
    SetWindowPos(txtEdit_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    editing_ = true;
    ::SetFocus(txtEdit_);
}

void ucClipList::EndEdit(bool modify) {
    if (editing_) CloseEdit(modify);
}

void ucClipList::CloseEdit(bool keepText) {
    if (!editing_) return;
    editing_ = false;  // first: hiding moves the focus, and the lost focus would close again
    if (keepText) {
        if (model_.ListIndex() >= 0) model_.SetItemText(model_.ListIndex(), common::WindowText(txtEdit_));
    }
    const bool hadFocus = GetFocus() == txtEdit_;
    ShowWindow(txtEdit_, SW_HIDE);
    keyPreview_ = true;
    if (hadFocus) ::SetFocus(picList_);
    RepaintAll();
}

LRESULT CALLBACK ucClipList::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto* list = reinterpret_cast<ucClipList*>(self);
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_CHAR:
        if (wp == 13 || (wp == 10 && !list->wordWrap_)) {
            list->CloseEdit(true);
            return 0;
        }
        if (wp == 27) {
            list->CloseEdit(false);
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        list->CloseEdit(false);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, EditProc, 1);
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// ---- painting ----

void ucClipList::RedrawVisible(HDC dc) {
    if (!IsWindowVisible(hwnd_) || model_.ListCount() == 0) return;
    const int top = model_.TopIndex();
    for (int i = top; i <= top + model_.VisibleRows() - 1; ++i) DrawItem(dc, i);
    DrawFocusOn(dc, model_.ListIndex());
}

void ucClipList::DrawItem(HDC dc, int index) {
    const int top = model_.TopIndex();
    if (index < top || index > top + model_.VisibleRows() - 1 || index > model_.ListCount() - 1) return;
    const int row = index - top;
    const int width = ClientWidth();
    const RECT r = ToRECT(cliplist::RowRect(row, rowHeight_, width, RowWidthCut()));
    const bool selected = model_.ItemSelected(index);
    const RowLook look = LookOfRow(selected, selectModeStyle_, selectionPicture_ != nullptr);

    switch (look.background) {
    case RowBackground::kNormal:
    case RowBackground::kTintAfterIcon: Fill(dc, r, backNormal_.rgb); break;
    case RowBackground::kSelectedFill: Fill(dc, r, backSelected_.rgb); break;
    case RowBackground::kGradientVertical: Gradient(dc, r, g1_.channels, g2_.channels, true); break;
    case RowBackground::kGradientHorizontal: Gradient(dc, r, g1_.channels, g2_.channels, false); break;
    case RowBackground::kBox:
        Fill(dc, r, backNormal_.rgb);
        Box(dc, r, boxOffset_, boxRadius_, boxBorder_.rgb, backSelected_.rgb);
        break;
    case RowBackground::kPicture: StretchPicture(dc, selectionPicture_, r.top, r.right, rowHeight_); break;
    case RowBackground::kUntouched: break;
    }
    if (look.text == TextColour::kFontNormal) surfaceTextColour_ = fontNormal_.rgb;
    if (look.text == TextColour::kFontSelected) surfaceTextColour_ = fontSelected_.rgb;

    PaintIcon(dc, look.selectedIcon ? model_.ItemIconSelected(index) : model_.ItemIcon(index), r.top);
    if (look.background == RowBackground::kTintAfterIcon) Tint(dc, r, backSelected_.rgb);

    const Rect t = TextRect(row, rowHeight_, width, RowWidthCut(), itemOffset_, itemTextLeft_);
    RECT textRect = ToRECT(t);
    const UINT alignments[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    const UINT format = wordWrap_ ? (alignments[alignment_ >= 0 && alignment_ <= 2 ? alignment_ : 0] | DT_WORDBREAK)
                                  : (DT_SINGLELINE | DT_VCENTER);
    gdi::Selection useFont(dc, look.underline ? underlineFont_.get() : rowFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, surfaceTextColour_);
    const std::wstring text = common::Widen(model_.ItemText(index));
    // Labels are the clips' own text: "R&D" shows an ampersand, not an underlined D.
    DrawTextW(dc, text.c_str(), int(text.size()), &textRect, format | DT_NOPREFIX);
}

void ucClipList::PaintIcon(HDC dc, int icon, int rowTop) {
    if (!images_ || icon < 1 || icon > ImageList_GetImageCount(images_)) return;
    int width = 0, height = 0;
    ImageList_GetIconSize(images_, &width, &height);
    const int y = IconTop(rowTop, rowHeight_, height, wordWrap_, itemOffset_);
    ImageList_Draw(images_, icon - 1, dc, itemOffset_, y, ILD_TRANSPARENT);
}

void ucClipList::DrawFocusOn(HDC dc, int index) {
    const int top = model_.TopIndex();
    if (!focus_ || !hasFocus_ || index < top || index > top + model_.VisibleRows() - 1) return;
    surfaceTextColour_ = fontNormal_.rgb;
    SetTextColor(dc, surfaceTextColour_);
    const RECT r = ToRECT(RowRect(index - top));
    ::DrawFocusRect(dc, &r);
}

// ---- properties ----

void ucClipList::SetImageList(HIMAGELIST images) { StoreAndRepaint(images_, images); }

void ucClipList::SetColour(Colour& colour, uint32_t ole) {
    colour = Colour{ole, Translate(ole)};
    RepaintAll();
}

void ucClipList::SetGradientColour(GradientColour& colour, uint32_t ole) {
    colour = GradientColour{ole, ColorToVertex(Translate(ole))};  // throws before anything is stored
    RepaintAll();
}

void ucClipList::SetBackNormal(uint32_t ole) { SetColour(backNormal_, ole); }
void ucClipList::SetBackSelected(uint32_t ole) { SetColour(backSelected_, ole); }
void ucClipList::SetBackSelectedG1(uint32_t ole) { SetGradientColour(g1_, ole); }
void ucClipList::SetBackSelectedG2(uint32_t ole) { SetGradientColour(g2_, ole); }
void ucClipList::SetBoxBorder(uint32_t ole) { SetColour(boxBorder_, ole); }
void ucClipList::SetFontSelected(uint32_t ole) { SetColour(fontSelected_, ole); }

void ucClipList::SetFontNormal(uint32_t ole) {
    surfaceTextColour_ = Translate(ole);
    SetColour(fontNormal_, ole);
}

void ucClipList::SetAlignment(int value) { StoreAndRepaint(alignment_, value); }

void ucClipList::ApplyFrameStyle() {
    if (!hwnd_) return;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE) & ~WS_BORDER;
    LONG exStyle = GetWindowLongA(hwnd_, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE;
    if (borderStyle_ == 1) {
        if (appearance_ == 1)
            exStyle |= WS_EX_CLIENTEDGE;
        else
            style |= WS_BORDER;
    }
    SetWindowLongA(hwnd_, GWL_STYLE, style);
    SetWindowLongA(hwnd_, GWL_EXSTYLE, exStyle);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void ucClipList::SetAppearance(int value) {
    appearance_ = value;
    ApplyFrameStyle();
}

void ucClipList::SetBorderStyle(int value) {
    borderStyle_ = value;
    ApplyFrameStyle();
}

void ucClipList::SetBoxOffset(int value) {
    if (value <= rowHeight_ / 2) boxOffset_ = value;
    RepaintAll();
}

void ucClipList::SetBoxRadius(int value) { StoreAndRepaint(boxRadius_, value); }

bool ucClipList::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void ucClipList::SetEnabled(bool value) {
    if (!hwnd_) return;
    EnableWindow(hwnd_, value);
    EnableWindow(sbVert_, value);
}

void ucClipList::SetFocus(bool value) {
    const bool turnedOn = value && !focus_;
    focus_ = value;
    if (turnedOn)
        DrawFocus(model_.ListIndex());
    else if (!value)
        RepaintItem(model_.ListIndex());
}

void ucClipList::SetFont(const LOGFONTA& font) {
    font_ = font;
    fontSpec_ = FontSpecOf(font);
    RecreateFonts();
    SizeChanged();
    RepaintAll();
}

void ucClipList::SetHoverSelection(bool value) {
    hoverSelection_ = value;
    input_.SetHoverSelection(value);
    RepaintItem(model_.ListIndex());
    DrawFocus(model_.ListIndex());
}

void ucClipList::SetItemHeight(int value) {
    itemHeight_ = value;
    SizeChanged();
    RepaintAll();
}

void ucClipList::SetItemHeightAuto(bool value) {
    itemHeightAuto_ = value;
    SizeChanged();
    RepaintAll();
}

void ucClipList::SetItemOffset(int value) {
    if (value <= rowHeight_) itemOffset_ = value;
    RepaintAll();
}

void ucClipList::SetItemTextLeft(int value) { StoreAndRepaint(itemTextLeft_, value); }

void ucClipList::SetScrollBarWidth(int value) {
    scrollBarWidth_ = ClampScrollBarWidth(value, ClientWidth());
    SizeChanged();
}

void ucClipList::SetSelectionPicture(HBITMAP picture) {
    selectionPictureRef_.clear();
    StoreAndRepaint(selectionPicture_, picture);
}

namespace {

int ScreenDpi() {
    gdi::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

std::string FileOf(const std::string& reference) {
    return reference.rfind("file:", 0) == 0 ? reference.substr(5) : std::string();
}

}  // namespace

common::FontSpec ucClipList::FontSpecOf(const LOGFONTA& font) const {
    common::FontSpec described;
    described.name = font.lfFaceName;
    const int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    described.points = std::round(height * 72.0 / ScreenDpi() * 4) / 4;  // to the quarter point
    described.weight = font.lfWeight;
    described.italic = font.lfItalic != 0;
    described.underline = font.lfUnderline != 0;
    described.strikethrough = font.lfStrikeOut != 0;
    return described;
}

LOGFONTA ucClipList::LogFontOf(const common::FontSpec& described) const {
    LOGFONTA font = {};
    font.lfHeight = -int(std::lround(described.points * ScreenDpi() / 72.0));
    font.lfWeight = described.weight;
    font.lfItalic = described.italic;
    font.lfUnderline = described.underline;
    font.lfStrikeOut = described.strikethrough;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, described.name.c_str(), LF_FACESIZE);
    return font;
}

void ucClipList::ReadProperties(const common::PropertyBag& bag, const common::FontSpec& ambientFont) {
    const ClipListProperties p = ReadClipListProperties(bag, ambientFont);
    const ClipListProperties defaults;
    appearance_ = p.appearance;
    borderStyle_ = p.borderStyle;
    ApplyFrameStyle();
    if (hwnd_) EnableWindow(hwnd_, p.enabled);
    scrollBarWidth_ = p.scrollBarWidth;
    fontSpec_ = p.font;
    font_ = LogFontOf(p.font);
    RecreateFonts();
    SetColour(fontNormal_, p.fontNormal);
    SetColour(fontSelected_, p.fontSelected);
    SetColour(backNormal_, p.backNormal);
    SetColour(backSelected_, p.backSelected);
    // A stored gradient colour that is no colour at all reads as its default.
    try {
        SetGradientColour(g1_, p.backSelectedG1);
    } catch (const ClipListError&) {
        SetGradientColour(g1_, defaults.backSelectedG1);
    }
    try {
        SetGradientColour(g2_, p.backSelectedG2);
    } catch (const ClipListError&) {
        SetGradientColour(g2_, defaults.backSelectedG2);
    }
    SetColour(boxBorder_, p.boxBorder);
    boxOffset_ = p.boxOffset;
    boxRadius_ = p.boxRadius;
    alignment_ = p.alignment;
    focus_ = p.focus;
    hoverSelection_ = p.hoverSelection;
    input_.SetHoverSelection(p.hoverSelection);
    wordWrap_ = p.wordWrap;
    itemOffset_ = p.itemOffset;
    itemHeightAuto_ = p.itemHeightAuto;
    itemTextLeft_ = p.itemTextLeft;
    model_.SetOrderType(p.orderType);
    if (ownedSelectionPicture_) DeleteObject(ownedSelectionPicture_);
    ownedSelectionPicture_ = FileOf(p.selectionPicture).empty()
                                 ? nullptr
                                 : static_cast<HBITMAP>(LoadImageA(nullptr, FileOf(p.selectionPicture).c_str(),
                                                                   IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    selectionPicture_ = ownedSelectionPicture_;
    selectionPictureRef_ = ownedSelectionPicture_ ? p.selectionPicture : "";
    model_.SetSelectMode(p.selectMode, false);
    selectModeStyle_ = p.selectModeStyle;
    mousePointer_ = p.mousePointer;
    if (ownedMouseIcon_) DestroyCursor(ownedMouseIcon_);
    ownedMouseIcon_ = FileOf(p.mouseIcon).empty() ? nullptr : LoadCursorFromFileA(FileOf(p.mouseIcon).c_str());
    mouseIcon_ = ownedMouseIcon_;
    mouseIconRef_ = ownedMouseIcon_ ? p.mouseIcon : "";
    const int textHeight = TextHeight();
    itemHeight_ = p.itemHeight < textHeight ? textHeight : p.itemHeight;
    model_.SetListIndex(-1);
    SizeChanged();
    RepaintAll();
}

void ucClipList::WriteProperties(common::PropertyBag& bag, const common::FontSpec& ambientFont) const {
    ClipListProperties p;
    p.appearance = std::int16_t(appearance_);
    p.borderStyle = std::int16_t(borderStyle_);
    p.enabled = Enabled();
    p.scrollBarWidth = std::int16_t(scrollBarWidth_);
    p.font = fontSpec_;
    p.fontNormal = fontNormal_.ole;
    p.fontSelected = fontSelected_.ole;
    p.backNormal = backNormal_.ole;
    p.backSelected = backSelected_.ole;
    p.backSelectedG1 = g1_.ole;
    p.backSelectedG2 = g2_.ole;
    p.boxBorder = boxBorder_.ole;
    p.boxOffset = std::int16_t(boxOffset_);
    p.boxRadius = std::int16_t(boxRadius_);
    p.alignment = alignment_;
    p.focus = focus_;
    p.hoverSelection = hoverSelection_;
    p.wordWrap = wordWrap_;
    p.itemHeight = std::int16_t(itemHeight_);
    p.itemHeightAuto = itemHeightAuto_;
    p.itemOffset = std::int16_t(itemOffset_);
    p.itemTextLeft = std::int16_t(itemTextLeft_);
    p.orderType = model_.OrderType();
    p.selectionPicture = selectionPictureRef_;
    p.selectMode = model_.SelectMode();
    p.selectModeStyle = selectModeStyle_;
    p.mousePointer = std::int16_t(mousePointer_);
    p.mouseIcon = mouseIconRef_;
    WriteClipListProperties(p, ambientFont, bag);
}

void ucClipList::SetSelectModeStyle(int value) { StoreAndRepaint(selectModeStyle_, value); }

void ucClipList::SetWordWrap(bool value) { StoreAndRepaint(wordWrap_, value); }

}  // namespace cliplist
