#include "mainwindow/PictureView.h"

#include "common/GdiScope.h"

namespace mainwindow {

namespace {
const char kClassName[] = "ArdentiaPictureView";
}

bool PictureView::Create(HWND parent, int x, int y, int width, int height) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    if (!GetClassInfoExA(instance, kClassName, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExA(&wc)) return false;
    }
    hwnd_ = CreateWindowExA(0, kClassName, "", WS_CHILD, x, y, width, height, parent, nullptr, instance, this);
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
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<PictureView*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_PAINT && self) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        self->Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace mainwindow
