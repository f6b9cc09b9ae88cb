#include "common/Guarded.h"
#include "cliplist/ClipListControl.h"

#include <algorithm>

#include "common/WindowClass.h"

namespace cliplist {

namespace {

const wchar_t kControlClass[] = L"ArdentiaClipList";
const wchar_t kSurfaceClass[] = L"ArdentiaClipListSurface";
const int kSurfaceId = 1, kScrollBarId = 2, kEditId = 3;
const int kCustomPointer = 99;

}  // namespace

ClipListControl::ClipListControl()
    : model_(*this),
      backNormal_{0x80000005, Translate(0x80000005)},
      backSelected_{0x8000000D, Translate(0x8000000D)},
      boxBorder_{0x8000000E, Translate(0x8000000E)},
      fontNormal_{0x80000008, Translate(0x80000008)},
      fontSelected_{0x8000000E, Translate(0x8000000E)},
      gradientFrom_{0x8000000D, ColorToVertex(Translate(0x8000000D))},
      gradientTo_{0x80000005, ColorToVertex(Translate(0x80000005))} {
    editor_.onClosed = [this](bool keepText, const std::string& text, bool hadFocus) { EditClosed(keepText, text, hadFocus); };
}

ClipListControl::~ClipListControl() {
    *alive_ = false;
    if (hwnd_) DestroyWindow(hwnd_);
    if (ownedSelectionPicture_) DeleteObject(ownedSelectionPicture_);
    if (ownedMouseIcon_) DestroyCursor(ownedMouseIcon_);
}

bool ClipListControl::Create(HWND parent, int id, int x, int y, int width, int height) {
    if (!common::RegisterUnicodeClassOnce(kControlClass, ControlProc, LoadCursor(nullptr, IDC_ARROW), CS_DBLCLKS) ||
        !common::RegisterUnicodeClassOnce(kSurfaceClass, SurfaceProc, nullptr, CS_DBLCLKS))
        return false;
    // The container's font is the ambient font; a parent without one gives the GUI font.
    HFONT ambient = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
    if (!ambient) ambient = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!font_.lfFaceName[0]) GetObjectW(ambient, sizeof(font_), &font_);
    RecreateFonts();
    itemHeight_ = TextHeight();
    // LBS_HASSTRINGS tells the system that list-box queries from other processes carry text, so it
    // carries the text across.
    HWND created = CreateWindowExW(WS_EX_CLIENTEDGE, kControlClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                   WS_CLIPCHILDREN | LBS_HASSTRINGS, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), this);
    return created != nullptr;
}

LRESULT CALLBACK ClipListControl::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = common::WindowOwner<ClipListControl>(hwnd, msg, lp, [&](ClipListControl* owner) { owner->hwnd_ = hwnd; });
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        self->hwnd_ = self->picList_ = self->sbVert_ = nullptr;
        self->editor_.Forget();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return common::Guarded<LRESULT>([&] { return self->HandleControl(msg, wp, lp); }, 0);
}

LRESULT CALLBACK ClipListControl::SurfaceProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // The surface handle is needed before CreateWindowEx returns.
    auto* self = common::WindowOwner<ClipListControl>(hwnd, msg, lp, [&](ClipListControl* owner) { owner->picList_ = hwnd; });
    if (!self || msg == WM_NCDESTROY) return DefWindowProcW(hwnd, msg, wp, lp);
    return common::Guarded<LRESULT>([&] { return self->HandleSurface(msg, wp, lp); }, 0);
}

LRESULT ClipListControl::HandleControl(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    if (AnswerAssistiveQuery(msg, wp, lp, answer)) return answer;
    switch (msg) {
    case WM_CREATE: {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        // WS_CLIPSIBLINGS: the rows are not painted over an open edit box.
        picList_ = CreateWindowExW(0, kSurfaceClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LBS_HASSTRINGS, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(kSurfaceId), instance, this);
        sbVert_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, hwnd_,
                                  reinterpret_cast<HMENU>(kScrollBarId), instance, nullptr);
        const bool editor = editor_.CreateHidden(hwnd_, kEditId);
        if (picList_) CreateTip();
        return (picList_ && sbVert_ && editor) ? 0 : -1;
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
    case WM_NOTIFY:
        if (AnswerTip(lp)) return 0;
        break;
    case WM_CTLCOLOREDIT: {
        LRESULT brush = 0;
        if (editor_.Colours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp), brush)) return brush;
        break;
    }
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT ClipListControl::HandleSurface(UINT msg, WPARAM wp, LPARAM lp) {
    if (HandleInput(msg, wp, lp)) return 0;
    LRESULT answer = 0;
    // The surface holds the focus, so a screen reader following it asks here: it gets the list.
    if (AnswerAssistiveQuery(msg, wp, lp, answer)) return answer;
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(picList_, &r);
        FillWith(reinterpret_cast<HDC>(wp), r, backNormal_.rgb);
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
        surfaceHasFocus_ = true;
        DrawFocusRect(model_.ListIndex());
        return 0;
    case WM_KILLFOCUS:
        surfaceHasFocus_ = false;
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

// ---- what the model asks of the window ----

ClipListControl::PaintHold::~PaintHold() {
    if (--list_.paintHeld_ > 0) return;
    list_.SetScrollRange(list_.model_.ScrollMaximum());
    if (list_.sbVert_) InvalidateRect(list_.sbVert_, nullptr, TRUE);
    if (list_.model_.ListCount() < list_.model_.VisibleRows()) list_.ClearSurface();
    list_.RepaintAll();
}

void ClipListControl::RepaintAll() {
    if (!picList_ || resizing_ || paintHeld_ > 0) return;
    gdi::WindowDC dc(picList_);
    RedrawVisible(dc.get());
}

void ClipListControl::RepaintItem(int index) {
    // A row out of view asks for no DC: a search that corrects a long history's labels touches every row.
    if (!picList_ || paintHeld_ > 0 || !InView(index)) return;
    gdi::WindowDC dc(picList_);
    PaintItem(dc.get(), index);
}

void ClipListControl::DrawFocusRect(int index) {
    if (!picList_ || paintHeld_ > 0) return;
    gdi::WindowDC dc(picList_);
    PaintFocusOn(dc.get(), index);
}

void ClipListControl::ClearSurface() {
    if (!picList_ || paintHeld_ > 0) return;
    RECT r;
    GetClientRect(picList_, &r);
    gdi::WindowDC dc(picList_);
    FillWith(dc.get(), r, backNormal_.rgb);
}

void ClipListControl::DiscardEdit() { editor_.Close(false); }

void ClipListControl::StartEdit() {
    const int current = model_.ListIndex();
    if (current < 0 || !hwnd_) return;
    // A current item outside the visible rows has no row to cover: bring it into view first.
    const int top = model_.TopIndex(), rows = std::max(1, model_.VisibleRows()), row = model_.RowOf(current);
    if (row < top)
        model_.ScrollTo(row);
    else if (row > top + rows - 1)
        model_.ScrollTo(row - rows + 1);
    const int r = row - model_.TopIndex();

    const int textHeight = TextHeight();
    const int rowTop = wordWrap_ ? r * rowHeight_ + itemOffset_ : r * rowHeight_ + (rowHeight_ - textHeight) / 2;
    const int left = itemTextLeft_ + itemOffset_;
    const bool selectedLook = model_.ItemSelected(current) && selectModeStyle_ != 5;
    InPlaceEditor::Look look;
    look.at = RECT{left, rowTop, left + RowRect(r).right - itemTextLeft_ - 2 * itemOffset_,
                   rowTop + (wordWrap_ ? rowHeight_ - 2 * itemOffset_ : textHeight)};
    look.wordWrap = wordWrap_;
    look.alignment = alignment_;
    look.font = rowFont_.get();
    look.back = selectedLook ? backSelected_.rgb : backNormal_.rgb;
    look.text = selectedLook ? fontSelected_.rgb : fontNormal_.rgb;
    keysGoToList_ = !editor_.Open(hwnd_, kEditId, look, model_.ItemText(current));
}

void ClipListControl::EndEdit(bool keepText) { editor_.Close(keepText); }

void ClipListControl::EditClosed(bool keepText, const std::string& text, bool hadFocus) {
    if (keepText && model_.ListIndex() >= 0) model_.SetItemText(model_.ListIndex(), text);
    keysGoToList_ = true;
    if (hadFocus) ::SetFocus(picList_);
    RepaintAll();
}

// ---- painting ----

RowAppearance ClipListControl::LookOfRows() const {
    RowAppearance look;
    look.backNormal = backNormal_.rgb;
    look.backSelected = backSelected_.rgb;
    look.boxBorder = boxBorder_.rgb;
    look.fontNormal = fontNormal_.rgb;
    look.fontSelected = fontSelected_.rgb;
    look.gradientFrom = gradientFrom_.channels;
    look.gradientTo = gradientTo_.channels;
    look.font = rowFont_.get();
    look.underlineFont = underlineFont_.get();
    look.selectionPicture = selectionPicture_;
    look.images = images_;
    look.selectModeStyle = selectModeStyle_;
    look.alignment = alignment_;
    look.boxOffset = boxOffset_;
    look.boxRadius = boxRadius_;
    look.itemOffset = itemOffset_;
    look.itemTextLeft = itemTextLeft_;
    look.rowHeight = rowHeight_;
    // A row one line tall shows one line, cut with an ellipsis, not the first of lines it has no room for.
    look.wordWrap = wordWrap_ && rowHeight_ >= 2 * TextHeight();
    return look;
}

void ClipListControl::RedrawVisible(HDC dc) {
    if (!IsWindowVisible(hwnd_) || model_.ListCount() == 0) return;
    const int top = model_.TopIndex();
    for (int row = top; row <= top + model_.VisibleRows() - 1; ++row) PaintItem(dc, model_.IndexAt(row));
    PaintFocusOn(dc, model_.ListIndex());
}

bool ClipListControl::InView(int index) const {
    const int top = model_.TopIndex(), shownRow = model_.RowOf(index);
    return index >= 0 && index < model_.ListCount() && shownRow >= top && shownRow < top + model_.VisibleRows();
}

void ClipListControl::PaintItem(HDC dc, int index) {
    if (!InView(index)) return;
    const int top = model_.TopIndex(), shownRow = model_.RowOf(index);
    const RowToPaint row{shownRow - top,           ClientWidth(),          WidthTakenByScrollBar(),
                         model_.ItemSelected(index), model_.ItemText(index), model_.ItemIcon(index),
                         model_.ItemIconSelected(index), model_.ItemPinned(index)};
    PaintRow(dc, LookOfRows(), row, carriedTextColour_);
}

void ClipListControl::PaintFocusOn(HDC dc, int index) {
    const int top = model_.TopIndex(), row = model_.RowOf(index);
    if (!showsFocusRect_ || !surfaceHasFocus_ || index < 0 || row < top || row > top + model_.VisibleRows() - 1) return;
    carriedTextColour_ = fontNormal_.rgb;
    const Rect r = RowRect(row - top);
    PaintFocusRect(dc, RECT{r.left, r.top, r.right, r.bottom}, carriedTextColour_);
}

}  // namespace cliplist
