// The tray icon's part of the main window: a left click brings the window back, a right click opens its menu.
// Shortcut menus are chosen from through one place, which tests answer in place of the system's menu.
#include <windows.h>

#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"

namespace mainwindow {
namespace {

enum TrayCommand { kTrayOpen = 1, kTrayManager, kTraySettings, kTrayExit };

int RealMenuChoice(HWND owner, HMENU menu) {
    POINT at;
    GetCursorPos(&at);
    return TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

MenuChoiceFn gChoose = RealMenuChoice;

}  // namespace

int ChooseFromMenu(HWND owner, HMENU menu) { return gChoose(owner, menu); }

void SetMenuChoiceForTesting(MenuChoiceFn fn) { gChoose = fn ? fn : RealMenuChoice; }

void MainWindow::MouseUp(std::int16_t button, std::int32_t) {
    if (button != 2) {
        RestoreFromTray();
        return;
    }
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kTrayOpen, L"Open Ardentia");
    SetMenuDefaultItem(menu, kTrayOpen, FALSE);
    AppendMenuW(menu, MF_STRING | (monitor_.ManagerOn() ? MF_CHECKED : 0), kTrayManager, L"Clipboard Manager On");
    AppendMenuW(menu, MF_STRING, kTraySettings, L"Settings...");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kTrayExit, L"Exit");
    // A menu of a window not in front would stay open when the user clicks elsewhere.
    SetForegroundWindow(hwnd_);
    const int chosen = ChooseFromMenu(hwnd_, menu);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == kTrayOpen) RestoreFromTray();
    if (chosen == kTrayManager) OnManagerSwitchClicked();
    if (chosen == kTraySettings) OpenSettings();
    if (chosen == kTrayExit) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace mainwindow
