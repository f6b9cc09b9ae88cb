// The main window in the system's look: its face, boxes, lists, title bar and popup follow the app theme
// (dark or light) and high contrast, at start and whenever the system's look changes.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/WindowText.h"
#include "mainwindow/MainWindow.h"
#include "shell/SystemLook.h"

namespace mainwindow {
namespace {

void ColourList(cliplist::ClipListControl& list, const MainWindow::ListColours& colours) {
    list.SetBackNormal(colours.back);
    list.SetFontNormal(colours.text);
    list.SetBackSelected(colours.selectedBack);
    list.SetFontSelected(colours.selectedText);
}

LRESULT CALLBACK GroupBoxInLook(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR look) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, GroupBoxInLook, 1);
    if (message != WM_PAINT) return DefSubclassProc(box, message, wParam, lParam);
    const shell::LookColours colours = shell::SystemLookColours(shell::Look(look));
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    RECT all;
    GetClientRect(box, &all);
    HGDIOBJ was = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    RECT line = all;
    line.top += metrics.tmHeight / 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = common::Widen(common::WindowText(box));
    SIZE size = {};
    GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &size);
    RECT label = {metrics.tmAveCharWidth, 0, metrics.tmAveCharWidth + size.cx + 4, metrics.tmHeight};
    HBRUSH face = CreateSolidBrush(colours.back);
    FillRect(dc, &label, face);
    DeleteObject(face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    TextOutW(dc, label.left + 2, 0, caption.c_str(), int(caption.size()));
    SelectObject(dc, was);
    EndPaint(box, &paint);
    return 0;
}

}  // namespace

void MainWindow::FollowSystemLook() {
    if (!listDesign_) {
        listDesign_ = ListColours{clipList_.BackNormal(), clipList_.FontNormal(), clipList_.BackSelected(),
                                  clipList_.FontSelected()};
    }
    look_ = shell::SystemLook();
    ListColours colours = *listDesign_;
    if (shell::LookRecolours(look_)) {
        const shell::LookColours inLook = shell::SystemLookColours(look_);
        colours = {inLook.back, inLook.text, inLook.selectedBack, inLook.selectedText};
    }
    for (cliplist::ClipListControl* list : {&clipList_, &search_.List(), &popup_.List()}) ColourList(*list, colours);
    popup_.SetLook(look_);
    // A group box draws its caption in the system's text colour, dark on dark: in a recolouring look it is
    // drawn here, in the look's.
    for (HWND frame : {startupGroup_, outputGroup_})
        for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX) continue;
            RemoveWindowSubclass(child, GroupBoxInLook, 1);
            if (shell::LookRecolours(look_)) SetWindowSubclass(child, GroupBoxInLook, 1, DWORD_PTR(look_));
            InvalidateRect(child, nullptr, TRUE);
        }
    shell::FollowLookInTitleBar(hwnd_, look_);
    for (HWND window : {hwnd_, popup_.hwnd()})
        if (window) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

COLORREF MainWindow::Resolve(std::uint32_t ole) const {
    if (shell::LookRecolours(look_)) {
        const shell::LookColours colours = shell::SystemLookColours(look_);
        return ole == formBackColour_ ? colours.face : colours.back;
    }
    std::uint32_t rgb = 0;
    if (skin_.Resolve(ole, rgb)) return rgb;
    if (ole & 0x80000000u) return GetSysColor(int(ole & 0xFF));
    return ole & 0xFFFFFF;
}

LRESULT MainWindow::ControlColours(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = backColours_.find(control);
    if (it == backColours_.end()) {
        // The search box and the controls without a colour of their own take the look's.
        if (HBRUSH brush = shell::ControlBrushInLook(look_, message, dc)) return reinterpret_cast<LRESULT>(brush);
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
    const COLORREF back = Resolve(it->second);
    SetBkColor(dc, back);
    std::uint32_t text = 0;
    if (shell::LookRecolours(look_)) SetTextColor(dc, shell::SystemLookColours(look_).text);
    else if (it->second == shell::kSkinBackground && skin_.TextColour(text)) SetTextColor(dc, text);
    return reinterpret_cast<LRESULT>(BrushFor(back));
}

}  // namespace mainwindow
