// The manager switch and the options that persist: start with Windows, start in the tray, output folder.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "capture/ChainWatchdog.h"
#include "capture/ClipboardMonitor.h"
#include "common/DoEvents.h"
#include "common/WindowText.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/Form1.h"
#include "shell/SettingsStore.h"
#include "shell/RunKeyEntry.h"

namespace mainwindow {

namespace {

void Save(const char* key, const std::string& value) {
    if (!shell::SaveSetting(key, value)) throw std::runtime_error(std::string("The setting \"") + key + "\" could not be saved");
}

}  // namespace

void Form1::PushButton2_Click() {
    ErrorReport step(hwnd_, "PushButton2_Click");
    const std::string caption = common::WindowText(pushButton2_);
    if (caption == kManagerOnCaption) {
        step(1, [&] { common::SetWindowTextUtf8(pushButton2_, kManagerOffCaption); });
        step(2, [&] { capture::SetManagerOn(true); });
        // No suppression: what is on the clipboard now becomes a clip.
        step(3, [&] {
            capture::JoinChain(hwnd_);
            capture::StartWatchdog(hwnd_);
        });
        step(4, [&] { common::DoEvents(); });
        step(5, [&] {
            if (IsWindowVisible(hwnd_)) ::SetFocus(clipList_.picList());
        });
        step(6, [&] { Save(shell::kKeyClipboardSwitch, shell::kOn); });
    } else if (caption == kManagerOffCaption) {
        step(7, [&] { common::SetWindowTextUtf8(pushButton2_, kManagerOnCaption); });
        step(8, [&] { capture::SetManagerOn(false); });
        step(9, [&] {
            capture::StopWatchdog();
            capture::LeaveChain(hwnd_);
        });
        step(10, [&] {
            if (IsWindowVisible(hwnd_)) ::SetFocus(clipList_.picList());
        });
        step(11, [&] { Save(shell::kKeyClipboardSwitch, shell::kOff); });
    }
    ShowEmptyListText();
}

void Form1::Check4_Click() {
    if (loading_) return;
    ErrorReport step(hwnd_, "Check4_Click");
    if (common::IsTicked(check4_)) {
        step(2, [&] { ShowWindow(check8_, SW_SHOW); });
        step(3, [&] { Save(shell::kKeyWindowsStartup, shell::kOn); });
        step(4, [&] { shell::AddStartupEntry(); });
    } else {
        step(5, [&] {
            if (!common::IsTicked(check8_)) return;
            SendMessageA(check8_, BM_SETCHECK, BST_UNCHECKED, 0);
            Check8_Click();
        });
        step(6, [&] { ShowWindow(check8_, SW_HIDE); });
        step(7, [&] { Save(shell::kKeyWindowsStartup, shell::kOff); });
        step(8, [&] { shell::RemoveStartupEntry(); });
    }
}

void Form1::Check8_Click() {
    ErrorReport step(hwnd_, "Check8_Click");
    step(1, [&] { Save(shell::kKeyMinimized, common::IsTicked(check8_) ? shell::kOn : shell::kOff); });
}

void Form1::Text2_Change() { shell::SaveSetting(shell::kKeyOutputFolder, common::WindowText(text2_)); }

}  // namespace mainwindow
