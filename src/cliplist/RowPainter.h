// Paints the list's rows and its focus rectangle with GDI. What the rows look like comes in as one
// value, so the painter holds nothing and the window keeps every setting.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "cliplist/OleColor.h"

namespace cliplist {

struct RowAppearance {
    COLORREF backNormal = 0, backSelected = 0, boxBorder = 0, fontNormal = 0, fontSelected = 0;
    Vertex16 gradientFrom{}, gradientTo{};
    HFONT font = nullptr, underlineFont = nullptr;
    HBITMAP selectionPicture = nullptr;
    HIMAGELIST images = nullptr;
    int selectModeStyle = 0, alignment = 0, boxOffset = 0, boxRadius = 0;
    int itemOffset = 0, itemTextLeft = 0, rowHeight = 1;
    bool wordWrap = true;
};

struct RowToPaint {
    int row;                // on screen, from the top
    int width;              // of the list's client area
    int scrollBarTakes;     // the width the scroll bar takes from the rows
    bool selected;
    const std::string& text;
    int icon, iconSelected;
    bool pinned = false;
};

// Some looks keep the text colour the previous row or focus rectangle used: carried holds it between calls.
void PaintRow(HDC dc, const RowAppearance& look, const RowToPaint& row, COLORREF& carriedTextColour);
void PaintFocusRect(HDC dc, const RECT& row, COLORREF colour);
void FillWith(HDC dc, const RECT& r, COLORREF colour);

}  // namespace cliplist
