// The manager switch and the options that persist: start with Windows, start in the tray, output folder.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "capture/ChainWatchdog.h"
#include "capture/ClipboardMonitor.h"
#include "common/DoEvents.h"
#include "common/WindowText.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "shell/SettingsStore.h"
#include "shell/RunKeyEntry.h"

namespace mainwindow {

namespace {

void Save(const char* key, const std::string& value) {
    if (!shell::SaveSetting(key, value)) throw std::runtime_error(std::string("The setting \"") + key + "\" could not be saved");
}

}  // namespace

void MainWindow::OnManagerSwitchClicked() {
    ErrorReport step(hwnd_, "PushButton2_Click");
    const std::string caption = common::WindowText(managerSwitch_);
    if (caption == kManagerOnCaption) {
        step(1, [&] { common::SetWindowTextUtf8(managerSwitch_, kManagerOffCaption); });
        step(2, [&] { monitor_.SetManagerOn(true); });
        // No suppression: what is on the clipboard now becomes a clip.
        step(3, [&] {
            monitor_.JoinChain(hwnd_);
            watchdog_.Start(hwnd_);
        });
        step(4, [&] { common::DoEvents(); });
        step(5, [&] {
            if (IsWindowVisible(hwnd_)) ::SetFocus(clipList_.picList());
        });
        step(6, [&] { Save(shell::kKeyClipboardSwitch, shell::kOn); });
    } else if (caption == kManagerOffCaption) {
        step(7, [&] { common::SetWindowTextUtf8(managerSwitch_, kManagerOnCaption); });
        step(8, [&] { monitor_.SetManagerOn(false); });
        step(9, [&] {
            watchdog_.Stop();
            monitor_.LeaveChain(hwnd_);
        });
        step(10, [&] {
            if (IsWindowVisible(hwnd_)) ::SetFocus(clipList_.picList());
        });
        step(11, [&] { Save(shell::kKeyClipboardSwitch, shell::kOff); });
    }
    ShowEmptyListText();
}

void MainWindow::OnStartWithWindowsClicked() {
    if (loading_) return;
    ErrorReport step(hwnd_, "Check4_Click");
    if (common::IsTicked(startWithWindows_)) {
        step(2, [&] { ShowWindow(startInTray_, SW_SHOW); });
        step(3, [&] { Save(shell::kKeyWindowsStartup, shell::kOn); });
        step(4, [&] { shell::AddStartupEntry(); });
    } else {
        step(5, [&] {
            if (!common::IsTicked(startInTray_)) return;
            SendMessageA(startInTray_, BM_SETCHECK, BST_UNCHECKED, 0);
            OnStartInTrayClicked();
        });
        step(6, [&] { ShowWindow(startInTray_, SW_HIDE); });
        step(7, [&] { Save(shell::kKeyWindowsStartup, shell::kOff); });
        step(8, [&] { shell::RemoveStartupEntry(); });
    }
}

void MainWindow::OnStartInTrayClicked() {
    ErrorReport step(hwnd_, "Check8_Click");
    step(1, [&] { Save(shell::kKeyMinimized, common::IsTicked(startInTray_) ? shell::kOn : shell::kOff); });
}

void MainWindow::OnOutputFolderChanged() { shell::SaveSetting(shell::kKeyOutputFolder, common::WindowText(outputFolder_)); }

}  // namespace mainwindow
