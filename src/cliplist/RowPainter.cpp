#include "cliplist/RowPainter.h"

#include <algorithm>

#include "cliplist/RowGeometry.h"
#include "cliplist/RowLook.h"
#include "common/GdiScope.h"
#include "common/WindowText.h"

namespace cliplist {

namespace {

const DWORD kTintRop = 0x00A000C9;  // destination AND pattern

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

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

void PaintIcon(HDC dc, const RowAppearance& look, int icon, int rowTop) {
    if (!look.images || icon < 1 || icon > ImageList_GetImageCount(look.images)) return;
    int width = 0, height = 0;
    ImageList_GetIconSize(look.images, &width, &height);
    const int y = IconTop(rowTop, look.rowHeight, height, look.wordWrap, look.itemOffset);
    ImageList_Draw(look.images, icon - 1, dc, look.itemOffset, y, ILD_TRANSPARENT);
}

// A pin at the row's right end, in the text's colour: a round head and its needle. Returns its left edge.
int PaintPin(HDC dc, const RECT& text, COLORREF colour) {
    const int size = std::max(7, int(std::min<LONG>(text.bottom - text.top, 16)) * 2 / 3);
    const int right = text.right - 2, top = text.top + (text.bottom - text.top - size) / 2;
    const int head = size * 3 / 5;
    gdi::Pen pen(CreatePen(PS_SOLID, std::max(1, size / 8), colour));
    gdi::Brush brush(CreateSolidBrush(colour));
    gdi::Selection usePen(dc, pen.get());
    gdi::Selection useBrush(dc, brush.get());
    Ellipse(dc, right - head, top, right, top + head);
    MoveToEx(dc, right - head / 2, top + head / 2, nullptr);
    LineTo(dc, right - size, top + size);
    return right - size - 2;
}

}  // namespace

void FillWith(HDC dc, const RECT& r, COLORREF colour) {
    gdi::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

void PaintRow(HDC dc, const RowAppearance& look, const RowToPaint& row, COLORREF& carriedTextColour) {
    const RECT r = ToRECT(RowRect(row.row, look.rowHeight, row.width, row.scrollBarTakes));
    const RowLook rowLook = LookOfRow(row.selected, look.selectModeStyle, look.selectionPicture != nullptr);
    switch (rowLook.background) {
        case RowBackground::kNormal:
        case RowBackground::kTintAfterIcon: FillWith(dc, r, look.backNormal); break;
        case RowBackground::kSelectedFill: FillWith(dc, r, look.backSelected); break;
        case RowBackground::kGradientVertical: Gradient(dc, r, look.gradientFrom, look.gradientTo, true); break;
        case RowBackground::kGradientHorizontal: Gradient(dc, r, look.gradientFrom, look.gradientTo, false); break;
        case RowBackground::kBox:
            FillWith(dc, r, look.backNormal);
            Box(dc, r, look.boxOffset, look.boxRadius, look.boxBorder, look.backSelected);
            break;
        case RowBackground::kPicture: StretchPicture(dc, look.selectionPicture, r.top, r.right, look.rowHeight); break;
        case RowBackground::kUntouched: break;
    }
    if (rowLook.text == TextColour::kFontNormal) carriedTextColour = look.fontNormal;
    if (rowLook.text == TextColour::kFontSelected) carriedTextColour = look.fontSelected;

    PaintIcon(dc, look, rowLook.selectedIcon ? row.iconSelected : row.icon, r.top);
    if (rowLook.background == RowBackground::kTintAfterIcon) Tint(dc, r, look.backSelected);

    RECT textRect = ToRECT(
        TextRect(row.row, look.rowHeight, row.width, row.scrollBarTakes, look.itemOffset, look.itemTextLeft));
    const UINT alignments[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    const UINT format = look.wordWrap
                            ? (alignments[look.alignment >= 0 && look.alignment <= 2 ? look.alignment : 0] | DT_WORDBREAK | DT_EDITCONTROL)
                            : (DT_SINGLELINE | DT_VCENTER);
    gdi::Selection useFont(dc, rowLook.underline ? look.underlineFont : look.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, carriedTextColour);
    if (row.pinned) textRect.right = std::max(textRect.left, LONG(PaintPin(dc, textRect, carriedTextColour)));
    std::wstring text = common::Widen(row.text);
    // One line a row: a label of several shows its first, and an ellipsis says more follows.
    const std::size_t lineEnd = look.wordWrap ? std::wstring::npos : text.find_first_of(L"\r\n");
    if (lineEnd != std::wstring::npos) text = text.substr(0, lineEnd) + L"\u2026";
    // Labels are the clips' own text: "R&D" shows an ampersand, not an underlined D. One cut at the row's
    // end says so with an ellipsis (a wrapped one on its last line that shows).
    DrawTextW(dc, text.c_str(), int(text.size()), &textRect, format | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void PaintFocusRect(HDC dc, const RECT& row, COLORREF colour) {
    SetTextColor(dc, colour);
    ::DrawFocusRect(dc, &row);
}

}  // namespace cliplist
