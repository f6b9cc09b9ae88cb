#include "mainwindow/PasteKeys.h"

#include <initializer_list>

#include "common/DoEvents.h"

namespace mainwindow {

namespace {

// Waits while handling messages, so that the program stays responsive.
template <typename Done>
bool WaitFor(Done done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        common::DoEvents();
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool ModifiersUp() {
    for (int key : {VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN, VK_RWIN})
        if (GetAsyncKeyState(key) & 0x8000) return false;
    return true;
}

INPUT Key(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void ReturnFocusTo(HWND target) {
    if (target && IsWindow(target)) SetForegroundWindow(target);
}

bool PasteInto(HWND target) {
    if (!target || !IsWindow(target)) return false;
    SetForegroundWindow(target);
    if (!WaitFor([&] { return GetForegroundWindow() == target; }, 1000)) return false;
    // The system says the target is in front before the target's thread has set its own focus: a Ctrl+V
    // sent at once is lost. The user's hotkey modifiers would turn it into another shortcut.
    WaitFor([] { return false; }, 120);
    // A modifier still down after a second is let go first: held, or left "down" when the focus moved
    // while it was released (Wine loses such releases), it would turn Ctrl+V into another shortcut.
    if (!WaitFor(ModifiersUp, 1000)) {
        for (WORD key : {WORD(VK_SHIFT), WORD(VK_MENU), WORD(VK_LWIN), WORD(VK_RWIN), WORD(VK_CONTROL)}) {
            if (!(GetAsyncKeyState(key) & 0x8000)) continue;
            INPUT up = Key(key, true);
            SendInput(1, &up, sizeof(INPUT));
        }
    }
    INPUT keys[] = {Key(VK_CONTROL, false), Key('V', false), Key('V', true), Key(VK_CONTROL, true)};
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

}  // namespace mainwindow
