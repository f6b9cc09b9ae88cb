#include "shell/TrayIconProc.h"

#include "shell/TrayRules.h"
#include "shell/TrayIcon.h"

namespace shell {

namespace {
WNDPROC gPreviousWindowProc = nullptr;
}

void AttachTrayProc(HWND owner, TrayIcon* control) {
    gPreviousWindowProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayIconWindowProc)));
    SetWindowLongPtrA(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
}

void DetachTrayProc(HWND owner) {
    if (!gPreviousWindowProc) return;
    SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gPreviousWindowProc));
    gPreviousWindowProc = nullptr;
}

LRESULT CALLBACK TrayIconWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Read the slot first: the callback may remove the icon and with it the slot.
    WNDPROC previous = gPreviousWindowProc;
    if (message == kTrayCallbackMessage) {
        if (auto* control = reinterpret_cast<TrayIcon*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
            control->Callback(UINT(lParam), UINT(wParam));
    }
    if (!previous) return DefWindowProcA(hwnd, message, wParam, lParam);
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

}  // namespace shell
