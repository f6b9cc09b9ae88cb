// Pictures the benchmarks copy: thirty horizontal bands, the third channel set by serial so that every
// copy differs.
#pragma once

#include <windows.h>

#include "support/painted_bitmap.h"

inline HBITMAP BandedPicture(int width, int height, int serial) {
    return testsupport::PaintedBitmap(width, height, [&](HDC dc) {
        for (int band = 0; band < 30; ++band) {
            HBRUSH brush = CreateSolidBrush(RGB(band * 8, 255 - band * 8, serial * 9 % 256));
            RECT r = {0, band * height / 30, width, (band + 1) * height / 30};
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
    });
}
