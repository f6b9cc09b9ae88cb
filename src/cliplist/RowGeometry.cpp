#include "cliplist/RowGeometry.h"

#include <cmath>

namespace cliplist {

int RowHeight(bool itemHeightAuto, int itemHeight, int textHeight) {
    if (itemHeightAuto || itemHeight < textHeight) return textHeight;
    return itemHeight;
}

int VisibleRows(int clientHeight, int rowHeight) {
    if (rowHeight <= 0 || clientHeight <= 0) return 0;
    return clientHeight / rowHeight;
}

int SnapOuterHeight(int outerHeight, int clientHeight, int visibleRows, int rowHeight) {
    return outerHeight - clientHeight + visibleRows * rowHeight;
}

Rect RowRect(int row, int rowHeight, int clientWidth, int scrollBarWidth) {
    return Rect{0, row * rowHeight, clientWidth - scrollBarWidth, (row + 1) * rowHeight};
}

Rect TextRect(int row, int rowHeight, int clientWidth, int scrollBarWidth, int itemOffset, int itemTextLeft) {
    return Rect{itemTextLeft + itemOffset, row * rowHeight + itemOffset, clientWidth - itemOffset - scrollBarWidth,
                (row + 1) * rowHeight - itemOffset};
}

int IconTop(int rowTop, int rowHeight, int imageHeight, bool wordWrap, int itemOffset) {
    if (wordWrap) return rowTop + itemOffset;
    return rowTop + (rowHeight - imageHeight) / 2;
}

int ClampScrollBarWidth(int requested, int clientWidth) {
    if (requested < 9) return 9;
    const int half = clientWidth / 2;
    return requested <= half ? requested : half;
}

}  // namespace cliplist
