#include "cliplist/ClipListControl.h"

#include <windowsx.h>

#include <algorithm>

#include "common/DoEvents.h"

namespace cliplist {

namespace {

int ButtonsOf(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? kLeftButton : 0) | ((keys & MK_RBUTTON) ? kRightButton : 0) |
           ((keys & MK_MBUTTON) ? kMiddleButton : 0);
}

int ShiftOf(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int KeyShift() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int PressedButton(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return kLeftButton;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return kRightButton;
    default: return kMiddleButton;
    }
}

}  // namespace

// Keys, presses, moves and releases on the surface go through the input rules; the surface keeps
// the mouse while a button is down, so a drag above or below the list still reports positions.
bool ClipListControl::HandleInput(UINT msg, WPARAM wp, LPARAM lp) {
    const float x = float(GET_X_LPARAM(lp));
    const float y = float(GET_Y_LPARAM(lp));
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if (GetFocus() != picList_) ::SetFocus(picList_);
        SetCapture(picList_);
        // The second press of a double-click is no new press: the first already selected and clicked.
        if (msg == WM_LBUTTONDBLCLK) {
            input_.DblClick();
            clickAfterDblClick_ = false;
            return true;
        }
        input_.MouseDown(PressedButton(msg), ShiftOf(wp), x, y);
        return true;
    case WM_MOUSEMOVE:
        FollowTip(int(y));
        if (input_.MouseMove(ButtonsOf(wp), ShiftOf(wp), x, y) != AutoScroll::kNone) RunAutoScroll();
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const int remaining = ButtonsOf(wp);
        if (!remaining && GetCapture() == picList_) ReleaseCapture();
        input_.MouseUp(PressedButton(msg), ShiftOf(wp), x, y);
        if (msg == WM_LBUTTONUP && clickAfterDblClick_) input_.Click();
        clickAfterDblClick_ = true;
        return true;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != picList_) input_.CancelButton();
        return true;
    case WM_KEYDOWN:
        if (!keysGoToList_) return false;
        input_.KeyDown(int(wp), KeyShift());
        return true;
    case WM_CHAR:
        model_.Events().KeyPress(int(wp));
        return true;
    case WM_KEYUP:
        model_.Events().KeyUp(int(wp), KeyShift());
        return true;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
        return true;
    }
    return false;
}

// One loop, however many moves arrive while it runs: each turn takes its interval from the pointer's
// latest distance, so the speed follows the pointer and the nesting stays at one.
void ClipListControl::RunAutoScroll() {
    if (autoScrolling_) return;
    autoScrolling_ = true;
    const std::shared_ptr<bool> alive = alive_;
    bool first = true;
    DWORD last = GetTickCount();
    for (AutoScroll direction; (direction = input_.PendingAutoScroll()) != AutoScroll::kNone;) {
        const DWORD now = GetTickCount();
        if (first || now - last > DWORD(input_.AutoScrollInterval(direction))) {
            first = false;
            last = now;
            input_.AutoScrollStep(direction);
        }
        common::DoEvents();
        if (!*alive) return;
        if (GetCapture() != picList_) input_.CancelButton();  // the release went elsewhere
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    autoScrolling_ = false;
}

// The wheel scrolls the rows as the system's setting says (three per notch unless changed), leaving
// the current item where it is.
void ClipListControl::OnMouseWheel(int delta) {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL) lines = UINT(std::max(1, model_.VisibleRows()));
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    if (notches == 0) return;
    wheelRemainder_ -= notches * WHEEL_DELTA;
    model_.ScrollTo(model_.TopIndex() - notches * int(lines));
}

}  // namespace cliplist
