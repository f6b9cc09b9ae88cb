#include "mainwindow/PictureView.h"

#include "common/GdiScope.h"
#include "common/WindowClass.h"

namespace mainwindow {

namespace {
const char kClassName[] = "ArdentiaPictureView";
}

bool PictureView::Create(HWND parent, int x, int y, int width, int height) {
    // Double-clicks: the second press of one arrives as a double-click, which opens nothing again.
    if (!common::RegisterClassOnce(kClassName, WindowProc, LoadCursor(nullptr, IDC_ARROW), CS_DBLCLKS)) return false;
    hwnd_ = CreateWindowExA(0, kClassName, "", WS_CHILD, x, y, width, height, parent, nullptr, GetModuleHandleA(nullptr),
                            this);
    return hwnd_ != nullptr;
}

void PictureView::SetPicture(HBITMAP picture) {
    picture_ = picture;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void PictureView::SetStretch(bool stretch) {
    stretch_ = stretch;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void PictureView::Paint(HDC dc) const {
    RECT client;
    GetClientRect(hwnd_, &client);
    BITMAP info;
    if (!picture_ || !GetObject(picture_, sizeof(info), &info)) return;
    gdi::MemoryDC source(dc);
    gdi::Selection use(source.get(), picture_);
    if (stretch_) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    }
}

LRESULT CALLBACK PictureView::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = common::WindowOwner<PictureView>(hwnd, message, lParam, [](PictureView*) {});
    if (message == WM_PAINT && self) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        self->Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (self && self->onPress) {
        if (message == WM_LBUTTONDOWN) self->onPress(1);
        if (message == WM_RBUTTONDOWN) self->onPress(2);
        if (message == WM_MBUTTONDOWN) self->onPress(4);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace mainwindow
