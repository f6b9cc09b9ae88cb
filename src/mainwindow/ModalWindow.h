// What the program's own small windows (the passphrase, the settings) share with a dialog box: controls in
// the system's dialog font, and a modal run centred on the owner, which waits meanwhile.
#pragma once

#include <windows.h>

#include <string>

#include "common/Guarded.h"

namespace mainwindow {

// Dialog units of the system font in pixels at the DPI of the owner's monitor, so that a window laid out in
// them grows with the screen's scale; the dialog font at that DPI too.
struct DialogUnits {
    explicit DialogUnits(HWND owner);
    LONG base = GetDialogBaseUnits();
    int dpi = 96, systemDpi = 96;
    int X(int units) const { return MulDiv(MulDiv(units, LOWORD(base), 4), dpi, systemDpi); }
    int Y(int units) const { return MulDiv(MulDiv(units, HIWORD(base), 8), dpi, systemDpi); }
    // The controls AddControl puts in window take the dialog font at this DPI.
    void Adopt(HWND window) const;
    HFONT Font() const;
};

HWND AddControl(const wchar_t* cls, const std::string& text, DWORD style, HWND parent, int id, int x, int y, int w,
                int h);
// Shows hwnd in front of owner (centred on it, or on the screen), runs its messages until done, and destroys
// it. A quit message met meanwhile is posted again for the program's own loop.
void RunModal(HWND hwnd, HWND owner, HWND focus, const bool& done);
// What every modal window's procedure does first: its controls painted in the system's look (dark, high
// contrast), and on a move to a monitor of another scale (WM_DPICHANGED) its controls and font scaled and the
// window put in the rectangle the system suggests. True when the message was handled so, with its result.
bool ModalLookAndScale(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// A modal window's procedure: the shared part above, then handle, from which no exception escapes.
template <typename Handle>
LRESULT ModalProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Handle handle) {
    LRESULT result = 0;
    if (ModalLookAndScale(hwnd, message, wParam, lParam, result)) return result;
    return common::Guarded<LRESULT>(handle, 0);
}

}  // namespace mainwindow
