// The window procedure that receives the shell's notices for the tray icon. The previous procedure is
// one module-wide slot, so only one tray control at a time can have its icon in the tray.
#pragma once

#include <windows.h>

namespace shell {

class TrayIcon;

// Replaces the owner window's procedure and stores the (non-owning) control pointer in its user data.
void AttachTrayProc(HWND owner, TrayIcon* control);
// Puts the saved procedure back.
void DetachTrayProc(HWND owner);

LRESULT CALLBACK TrayIconWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace shell
