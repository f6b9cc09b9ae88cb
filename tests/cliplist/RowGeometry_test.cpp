#include "cliplist/RowGeometry.h"

#include <gtest/gtest.h>

#include "cliplist/ClipListError.h"
#include "cliplist/OleColor.h"

namespace cliplist {
namespace {

TEST(RowGeometry, RowHeightAndVisibleRows) {
    struct Case {
        bool autoHeight;
        int itemHeight, textHeight, clientHeight, rowHeight, rows;
    } cases[] = {
        {true, 40, 15, 100, 15, 6},   // automatic ignores ItemHeight
        {false, 40, 15, 100, 40, 2},  // manual height used
        {false, 5, 15, 100, 15, 6},   // smaller than the text: ignored
        {false, 15, 15, 14, 15, 0},   // not even one row
        {true, 0, 0, 100, 0, 0},      // no font height: no rows, no division by zero
    };
    for (const Case& c : cases) {
        const int h = RowHeight(c.autoHeight, c.itemHeight, c.textHeight);
        EXPECT_EQ(h, c.rowHeight);
        EXPECT_EQ(VisibleRows(c.clientHeight, h), c.rows);
    }
    EXPECT_EQ(SnapOuterHeight(104, 100, 6, 15), 94);  // border of 4 kept, client 90
}

TEST(RowGeometry, ScrollBarWidthLimits) {
    const int cases[][3] = {{5, 200, 9}, {9, 200, 9}, {13, 200, 13}, {100, 200, 100}, {101, 200, 100}, {20, 21, 10}};
    for (const auto& c : cases) EXPECT_EQ(ClampScrollBarWidth(c[0], c[1]), c[2]) << c[0] << " in " << c[1];
}

}  // namespace
}  // namespace cliplist
