// The manager switch and the options that persist: start with Windows, start in the tray, output folder.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "capture/ChainWatchdog.h"
#include "capture/ClipboardMonitor.h"
#include "common/DoEvents.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/Form1.h"
#include "shell/SettingsStore.h"
#include "shell/mStartUp.h"

namespace mainwindow {

namespace {

std::string Caption(HWND control) {
    char text[64] = {};
    GetWindowTextA(control, text, sizeof(text));
    return text;
}

bool Ticked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Save(const char* key, const std::string& value) {
    if (!shell::SaveSetting(key, value)) throw std::runtime_error(std::string("The setting \"") + key + "\" could not be saved");
}

}  // namespace

void Form1::PushButton2_Click() {
    ErrorReport step(hwnd_, "PushButton2_Click");
    const std::string caption = Caption(pushButton2_);
    if (caption == kManagerOnCaption) {
        step(1, [&] { SetWindowTextA(pushButton2_, kManagerOffCaption); });
        step(2, [&] { capture::SetManagerOn(true); });
        // No suppression: what is on the clipboard now becomes a clip.
        step(3, [&] {
            capture::JoinChain(hwnd_);
            capture::StartWatchdog(hwnd_);
        });
        step(4, [&] { common::DoEvents(); });
        step(5, [&] {
            if (IsWindowVisible(hwnd_)) ::SetFocus(ucClipList1_.picList());
        });
        step(6, [&] { Save(shell::kKeyClipboardSwitch, shell::kOn); });
    } else if (caption == kManagerOffCaption) {
        step(7, [&] { SetWindowTextA(pushButton2_, kManagerOnCaption); });
        step(8, [&] { capture::SetManagerOn(false); });
        step(9, [&] {
            capture::StopWatchdog();
            capture::LeaveChain(hwnd_);
        });
        step(10, [&] {
            if (IsWindowVisible(hwnd_)) ::SetFocus(ucClipList1_.picList());
        });
        step(11, [&] { Save(shell::kKeyClipboardSwitch, shell::kOff); });
    }
}

void Form1::Check4_Click() {
    if (loading_) return;
    ErrorReport step(hwnd_, "Check4_Click");
    if (Ticked(check4_)) {
        step(2, [&] { ShowWindow(check8_, SW_SHOW); });
        step(3, [&] { Save(shell::kKeyWindowsStartup, shell::kOn); });
        step(4, [&] { shell::AddStartupEntry(); });
    } else {
        step(5, [&] {
            if (!Ticked(check8_)) return;
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
    step(1, [&] { Save(shell::kKeyMinimized, Ticked(check8_) ? shell::kOn : shell::kOff); });
}

void Form1::Text2_Change() {
    const int length = GetWindowTextLengthA(text2_);
    std::string text(std::size_t(length) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(text2_, &text[0], length + 1)));
    shell::SaveSetting(shell::kKeyOutputFolder, text);
}

}  // namespace mainwindow
