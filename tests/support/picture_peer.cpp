// Another Windows program that copies one picture: `picture_peer WIDTH HEIGHT SERIAL bitmap|dib`. It puts a
// banded picture on the clipboard as CF_BITMAP (a GDI bitmap the reader's process must import) or as
// CF_DIB (a memory block), then serves it until another program takes the clipboard, or 60 s pass. The
// moment of the copy goes to the shared block kCopiedAtName, where a benchmark that made it reads it.
// Tests and benchmarks start it.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "support/banded_picture.h"
#include "support/peer_clock.h"

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]), serial = std::atoi(argv[3]);
    const bool asDib = std::strcmp(argv[4], "dib") == 0;
    HWND owner = CreateWindowA("STATIC", "picture peer", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HBITMAP picture = testsupport::BandedPicture(width, height, serial);
    if (!owner || !picture || !OpenClipboard(owner)) return 1;
    EmptyClipboard();
    HANDLE offered = picture;
    if (asDib) {
        BITMAPINFOHEADER header = {sizeof(header), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        const SIZE_T bytes = sizeof(header) + SIZE_T(width) * height * 4;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        auto* data = static_cast<char*>(GlobalLock(block));
        std::memcpy(data, &header, sizeof(header));
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, picture, 0, UINT(height), data + sizeof(header), reinterpret_cast<BITMAPINFO*>(data),
                  DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        GlobalUnlock(block);
        DeleteObject(picture);
        offered = block;
    }
    SetClipboardData(asDib ? CF_DIB : CF_BITMAP, offered);
    CloseClipboard();
    testsupport::MarkCopiedNow();
    // The clipboard owner serves what was put there while it lives; it goes once another program copies.
    const DWORD start = GetTickCount();
    while (GetClipboardOwner() == owner && GetTickCount() - start < 60000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return 0;
}
