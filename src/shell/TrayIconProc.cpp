#include "shell/TrayIconProc.h"

#include "shell/TrayRules.h"
#include "shell/TrayIcon.h"

namespace shell {

void AttachTrayProc(HWND owner, TrayIcon* control, WNDPROC& saved) {
    saved =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayIconWindowProc)));
    SetWindowLongPtrA(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
}

void DetachTrayProc(HWND owner, WNDPROC& saved) {
    if (!saved) return;
    SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
    saved = nullptr;
}

LRESULT CALLBACK TrayIconWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<TrayIcon*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Read the saved procedure first: the callback may remove the icon and put it back.
    WNDPROC previous = control ? control->PreviousWindowProc() : nullptr;
    if (message == kTrayCallbackMessage && control) control->Callback(UINT(lParam), UINT(wParam));
    if (!previous) return DefWindowProcA(hwnd, message, wParam, lParam);
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

}  // namespace shell
