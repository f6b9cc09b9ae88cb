// The edit box laid over a row to change its text. It owns the box, its brush and colours, and whether
// it is open; the list says where and how, and hears when it closes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/GdiScope.h"

namespace cliplist {

class InPlaceEditor {
public:
    struct Look {
        RECT at;  // in the parent's client pixels
        bool wordWrap;
        int alignment;  // 0 left, 1 centre, 2 right; only wrapped text is aligned
        HFONT font;
        COLORREF back, text;
    };

    // The hidden box the list starts with, so that there is always one to ask about.
    bool CreateHidden(HWND parent, int id);
    // Replaces the box with one over `look.at` holding `text`, all selected and focused. False when the
    // box cannot be made.
    bool Open(HWND parent, int id, const Look& look, const std::string& text);
    // Enter (and Ctrl+Enter without word-wrap) keeps the text; Escape and a lost focus discard it.
    void Close(bool keepText);
    bool IsOpen() const { return open_; }
    HWND Box() const { return box_; }
    // An open box still draws with the old font: it takes the new one before the old is deleted.
    void TakeFont(HFONT font);
    // The colours for WM_CTLCOLOREDIT; false when the box asking is not this one or it has none.
    bool Colours(HWND box, HDC dc, LRESULT& brush) const;
    void Forget() { box_ = nullptr; }  // the parent's windows are gone

    // After closing: whether the text was kept, the box's text, and whether the box had the focus.
    std::function<void(bool keepText, const std::string& text, bool hadFocus)> onClosed;

private:
    static LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);

    HWND box_ = nullptr;
    bool open_ = false;
    bool wordWrap_ = true;
    COLORREF back_ = 0, text_ = 0;
    gdi::Brush brush_{nullptr};
};

}  // namespace cliplist
