// Lets the thread handle what is waiting in its queue, then returns. Several operations call it in the
// middle of their work, so any handler may run inside them.
#pragma once

#include <windows.h>

#include "common/Guarded.h"

namespace common {

inline void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the message loop that owns it.
            PostQuitMessage(int(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        Guarded<LRESULT>([&] { return DispatchMessageW(&msg); }, 0);
    }
}

}  // namespace common
