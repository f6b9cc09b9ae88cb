// A screen-compatible bitmap painted by the caller, for tests and benchmarks that copy or show one.
#pragma once

#include <windows.h>

namespace testsupport {

// A width x height bitmap; paint(dc) draws on it while it is selected into dc.
template <typename Paint>
HBITMAP PaintedBitmap(int width, int height, Paint paint) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    paint(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace testsupport
