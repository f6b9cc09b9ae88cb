// Pasting into the window the user was working in: it is brought to the front, given time to take its
// own focus, the user's modifier keys are waited out (and let go after a second), then Ctrl+V is typed.
// No key is left pressed.
#pragma once

#include <windows.h>

namespace mainwindow {

// False when the target is gone or could not be brought to the front.
bool PasteInto(HWND target);

// Brings the target back to the front without typing anything (the popup was closed).
void ReturnFocusTo(HWND target);

}  // namespace mainwindow
