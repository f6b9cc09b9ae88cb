#include "mainwindow/ClipKindIcons.h"

#include "common/GdiScope.h"

namespace mainwindow {

namespace {

const int kSize = 16;
const COLORREF kTransparent = RGB(255, 0, 255);

void Fill(HDC dc, int l, int t, int r, int b, COLORREF colour) {
    RECT rc = {l, t, r, b};
    gdi::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &rc, brush.get());
}

void Page(HDC dc) {
    Fill(dc, 2, 0, 14, 16, RGB(96, 96, 96));
    Fill(dc, 3, 1, 13, 15, RGB(255, 255, 255));
}

void TextIcon(HDC dc) {
    Page(dc);
    for (int y = 3; y < 14; y += 2) Fill(dc, 4, y, y % 4 == 1 ? 9 : 12, y + 1, RGB(64, 64, 64));
}

void RichTextIcon(HDC dc) {
    Page(dc);
    const COLORREF inks[] = {RGB(200, 0, 0), RGB(0, 0, 200), RGB(0, 140, 0), RGB(200, 120, 0), RGB(64, 64, 64)};
    for (int i = 0; i < 5; ++i) Fill(dc, 4, 3 + 2 * i, i % 2 ? 12 : 10, 4 + 2 * i, inks[i]);
}

void PictureIcon(HDC dc) {
    Fill(dc, 0, 2, 16, 14, RGB(64, 64, 64));
    Fill(dc, 1, 3, 15, 9, RGB(120, 180, 240));
    Fill(dc, 1, 9, 15, 13, RGB(40, 150, 40));
    Fill(dc, 10, 4, 13, 7, RGB(255, 220, 0));
}

void FileListIcon(HDC dc) {
    Fill(dc, 1, 3, 7, 5, RGB(200, 150, 20));
    Fill(dc, 1, 5, 15, 14, RGB(200, 150, 20));
    Fill(dc, 2, 6, 14, 13, RGB(250, 210, 80));
}

void LockIcon(HDC dc) {
    Fill(dc, 4, 1, 12, 3, RGB(90, 90, 90));  // the shackle
    Fill(dc, 4, 3, 6, 8, RGB(90, 90, 90));
    Fill(dc, 10, 3, 12, 8, RGB(90, 90, 90));
    Fill(dc, 2, 7, 14, 16, RGB(200, 150, 20));  // the body, with its keyhole
    Fill(dc, 7, 10, 9, 14, RGB(60, 40, 0));
}

}  // namespace

HIMAGELIST CreateClipKindIcons(int size) {
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 5, 0);
    if (!images) return nullptr;
    void (*const painters[])(HDC) = {TextIcon, PictureIcon, RichTextIcon, FileListIcon, LockIcon};
    gdi::WindowDC screen(nullptr);
    for (auto paint : painters) {
        gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), size, size));
        {
            gdi::MemoryDC dc(screen.get());
            gdi::Selection use(dc.get(), bitmap.get());
            Fill(dc.get(), 0, 0, size, size, kTransparent);
            // Drawn on the 16-pixel grid, scaled to the size asked for.
            SetGraphicsMode(dc.get(), GM_ADVANCED);
            const XFORM scale = {float(size) / kSize, 0, 0, float(size) / kSize, 0, 0};
            SetWorldTransform(dc.get(), &scale);
            paint(dc.get());
        }
        if (ImageList_AddMasked(images, bitmap.get(), kTransparent) < 0) {
            ImageList_Destroy(images);
            return nullptr;
        }
    }
    return images;
}

HICON CreateAppIcon(int size) {
    gdi::WindowDC screen(nullptr);
    gdi::Bitmap colour(CreateCompatibleBitmap(screen.get(), size, size));
    gdi::Bitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    if (!colour || !mask) return nullptr;
    {
        gdi::MemoryDC dc(screen.get());
        gdi::Selection use(dc.get(), colour.get());
        Fill(dc.get(), 0, 0, size, size, RGB(20, 70, 170));
        gdi::Font font(CreateFontA(-size * 7 / 8, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                                   "Arial"));
        gdi::Selection useFont(dc.get(), font.get());
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), RGB(255, 255, 255));
        RECT all = {0, 0, size, size};
        DrawTextA(dc.get(), "K", 1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    {
        gdi::MemoryDC dc(screen.get());
        gdi::Selection use(dc.get(), mask.get());
        PatBlt(dc.get(), 0, 0, size, size, BLACKNESS);  // opaque everywhere
    }
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return CreateIconIndirect(&info);
}

}  // namespace mainwindow
