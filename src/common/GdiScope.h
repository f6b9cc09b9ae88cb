// Scope owners for GDI: every object created is deleted, every selection undone, in the same call.
// The live-object count lets tests prove that drawing leaves nothing behind (Wine reports no GDI counts).
#pragma once

#include <windows.h>

namespace gdi {

inline int gLiveObjects = 0;

template <typename Handle>
class Owned {
public:
    explicit Owned(Handle h) : h_(h) {
        if (h_) ++gLiveObjects;
    }
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = o.h_;
            o.h_ = nullptr;
        }
        return *this;
    }
    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Hands the object to another owner.
    Handle release() {
        if (h_) --gLiveObjects;
        Handle h = h_;
        h_ = nullptr;
        return h;
    }
    void reset() {
        if (h_) {
            DeleteObject(h_);
            --gLiveObjects;
            h_ = nullptr;
        }
    }

private:
    Handle h_;
};

using Brush = Owned<HBRUSH>;
using Pen = Owned<HPEN>;
using Font = Owned<HFONT>;
using Bitmap = Owned<HBITMAP>;

// Selects an object into a DC and puts the previous one back on scope exit.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~Selection() {
        if (old_) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's DC, released on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory DC compatible with another, deleted on scope exit.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace gdi
