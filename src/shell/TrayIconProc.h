// The window procedure that receives the shell's notices for the tray icon. Each control keeps the procedure
// it replaced, so that it can put it back.
#pragma once

#include <windows.h>

namespace shell {

class TrayIcon;

// Replaces the owner window's procedure, saving the one it replaces in saved, and stores the (non-owning)
// control pointer in its user data.
void AttachTrayProc(HWND owner, TrayIcon* control, WNDPROC& saved);
// Puts the saved procedure back.
void DetachTrayProc(HWND owner, WNDPROC& saved);

LRESULT CALLBACK TrayIconWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace shell
