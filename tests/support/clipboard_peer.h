// Another program's side of the clipboard, played by test code: a peer that copies (from its own
// thread, so the window under test keeps its message loop) and a plain viewer in the chain.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/painted_bitmap.h"
#include "support/win32_wait.h"

namespace testsupport {

inline HGLOBAL GlobalBytes(const void* data, SIZE_T size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return block;
}

inline void OfferText(UINT format, const std::string& text) {
    SetClipboardData(format, GlobalBytes(text.c_str(), text.size() + 1));
}

// Every memory-block format on the clipboard with its bytes, in the order listed.
inline std::vector<std::pair<UINT, std::string>> ClipboardBlocks(HWND opener) {
    std::vector<std::pair<UINT, std::string>> blocks;
    for (int attempt = 0; attempt < 200 && !OpenClipboard(opener); ++attempt) Sleep(10);
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
        if (f == CF_BITMAP || f == CF_ENHMETAFILE || f == CF_METAFILEPICT || f == CF_PALETTE) continue;
        HANDLE data = GetClipboardData(f);
        const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        blocks.emplace_back(f, bytes ? std::string(bytes, GlobalSize(data)) : std::string("<unreadable>"));
        if (bytes) GlobalUnlock(data);
    }
    CloseClipboard();
    return blocks;
}

inline void OfferWide(UINT format, const std::wstring& text) {
    SetClipboardData(format, GlobalBytes(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
}

// A CF_HDROP of UTF-16 paths.
inline std::string WideDropFiles(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& p : paths) list += p + L'\0';
    list += L'\0';
    DROPFILES header = {};
    header.pFiles = sizeof(header);
    header.fWide = TRUE;
    std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
    block.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));
    return block;
}

// A CF_HDROP of ANSI paths.
inline void OfferFiles(const std::vector<std::string>& paths) {
    std::string list;
    for (const auto& p : paths) list += p + '\0';
    list += '\0';
    DROPFILES header = {};
    header.pFiles = sizeof(header);
    std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
    block += list;
    SetClipboardData(CF_HDROP, GlobalBytes(block.data(), block.size()));
}

// A width x height bitmap whose pixel (x, y) is colour(x, y).
inline HBITMAP MakeBitmap(int width, int height, COLORREF (*colour)(int, int)) {
    return PaintedBitmap(width, height, [&](HDC dc) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) SetPixel(dc, x, y, colour(x, y));
    });
}

// A bottom-up device-independent bitmap of 24 or 32 bits whose pixel (x, y), counted from the top, is
// colour(x, y).
template <typename Colour>
std::string Dib(int width, int height, int bits, Colour colour) {
    const BITMAPINFOHEADER header = {sizeof(header), width, height, 1, WORD(bits), BI_RGB, 0, 0, 0, 0, 0};
    const std::size_t stride = (std::size_t(width) * bits / 8 + 3) & ~std::size_t(3);
    std::string block(sizeof(header) + stride * height, '\0');
    std::memcpy(&block[0], &header, sizeof(header));
    for (int y = 0; y < height; ++y) {
        char* pixel = &block[sizeof(header) + stride * (height - 1 - y)];
        for (int x = 0; x < width; ++x, pixel += bits / 8) {
            const COLORREF c = colour(x, y);
            pixel[0] = char(GetBValue(c));
            pixel[1] = char(GetGValue(c));
            pixel[2] = char(GetRValue(c));
        }
    }
    return block;
}

inline COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return c;
}

// Copies from a thread of its own: open, empty, fill, close. The caller's thread keeps dispatching
// messages until the copy is done and done() holds.
// With keptOwner, that window (made by the caller, so it outlives the peer) owns the copy.
template <typename Done>
bool PeerCopy(const std::function<void()>& fill, Done done, DWORD timeoutMs = 5000, HWND keptOwner = nullptr) {
    std::atomic<bool> copied{false};
    std::thread peer([&] {
        // The clipboard needs an owner window for SetClipboardData to succeed.
        HWND owner = keptOwner ? keptOwner
                               : CreateWindowA("STATIC", "peer", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        // Another program (Wine's own clipboard bridge, rendering a large picture on a busy machine) may
        // hold it a while.
        for (int attempt = 0; attempt < 2000 && !OpenClipboard(owner); ++attempt) Sleep(10);
        EmptyClipboard();
        fill();
        CloseClipboard();
        if (!keptOwner) DestroyWindow(owner);
        copied = true;
    });
    const bool ok = PumpUntil([&] { return copied && done(); }, timeoutMs);
    PumpUntil([&] { return bool(copied); }, 5000);
    peer.join();
    return ok;
}

// A plain viewer in the clipboard chain that counts the change notices it is given. With holdMs set, it
// opens the clipboard on the next notice, passes the notice on and keeps the clipboard that long.
struct TestViewer {
    HWND hwnd = nullptr;
    HWND next = nullptr;
    int draws = 0;
    DWORD holdMs = 0;
    std::function<void()> onDraw;  // runs on each notice, before it is passed on

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<TestViewer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && msg == WM_DRAWCLIPBOARD) {
            ++self->draws;
            if (self->onDraw) self->onDraw();
            const bool hold = self->holdMs && OpenClipboard(hwnd);
            if (self->next) SendMessageA(self->next, msg, wp, lp);
            if (hold) {
                Sleep(self->holdMs);
                self->holdMs = 0;
                CloseClipboard();
            }
            return 0;
        }
        if (self && msg == WM_CHANGECBCHAIN) {
            if (reinterpret_cast<HWND>(wp) == self->next)
                self->next = reinterpret_cast<HWND>(lp);
            else if (self->next)
                SendMessageA(self->next, msg, wp, lp);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    void Join() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ArdentiaTestPeerViewer";
        RegisterClassA(&wc);
        hwnd = CreateWindowA(wc.lpszClassName, "peer viewer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                             nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        next = SetClipboardViewer(hwnd);
    }
    void Leave() {
        if (!hwnd) return;
        ChangeClipboardChain(hwnd, next);
        DestroyWindow(hwnd);
        hwnd = nullptr;
    }
    ~TestViewer() { Leave(); }
};

}  // namespace testsupport
