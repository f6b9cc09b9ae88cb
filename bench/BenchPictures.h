// Pictures the benchmarks copy: thirty horizontal bands, the third channel set by serial so that every
// copy differs.
#pragma once

#include <windows.h>

inline HBITMAP BandedPicture(int width, int height, int serial) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int band = 0; band < 30; ++band) {
        HBRUSH brush = CreateSolidBrush(RGB(band * 8, 255 - band * 8, serial * 9 % 256));
        RECT r = {0, band * height / 30, width, (band + 1) * height / 30};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}
