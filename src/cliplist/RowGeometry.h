// Row layout of the list, in pixels: plain functions of plain numbers.
#pragma once

namespace cliplist {

struct Rect {
    int left, top, right, bottom;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Manual heights below the font's text height are ignored; the automatic height is the text height.
int RowHeight(bool itemHeightAuto, int itemHeight, int textHeight);

// Whole rows that fit; 0 for a degenerate row height.
int VisibleRows(int clientHeight, int rowHeight);

// Outer height that makes the client area exactly visibleRows rows tall, keeping the border.
int SnapOuterHeight(int outerHeight, int clientHeight, int visibleRows, int rowHeight);

// scrollBarWidth is 0 while the scroll bar is hidden.
Rect RowRect(int row, int rowHeight, int clientWidth, int scrollBarWidth);
Rect TextRect(int row, int rowHeight, int clientWidth, int scrollBarWidth, int itemOffset, int itemTextLeft);

// Icons sit at the row's vertical centre on single-line rows and at the text's top on wrapped rows.
int IconTop(int rowTop, int rowHeight, int imageHeight, bool wordWrap, int itemOffset);

// The scroll bar is at least 9 pixels wide and at most half the client width.
int ClampScrollBarWidth(int requested, int clientWidth);

}  // namespace cliplist
