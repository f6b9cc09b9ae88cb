// The settings window's part of the main window: what it opens with, and each setting changed there put in
// force at once, as a start would read it.
#include <windows.h>

#include <filesystem>

#include "clips/ClipLimits.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"
#include "mainwindow/PopupRules.h"
#include "mainwindow/SettingsWindow.h"
#include "shell/SettingsStore.h"

namespace mainwindow {

void MainWindow::OpenSettings() {
    EditSettings(hwnd_,
                 {{"Passphrase...", [this] { SetFolderPassphrase(); }},
                  {"Recovery Code...", [this] { ShowRecoveryCode(); }}},
                 [this](const std::map<std::string, std::string>& changed) { return ApplySettings(changed); },
                 {{shell::kKeyHistoryFolder, common::Narrow(historyFolder_.wstring())}},
                 [this](const std::string& key, const std::string& typed) {
                     return key == shell::kKeyHotkey ? HotkeyTaken(typed) : std::string();
                 });
}

std::string MainWindow::HotkeyTaken(const std::string& typed) {
    const auto wanted = ParseHotkey(typed);
    const bool ours = wanted && hotkeyRegistered_ && ParseHotkey(hotkeyName_) == wanted;
    const int kTrialId = 2;
    if (!wanted || ours) return "";
    if (!RegisterHotKey(hwnd_, kTrialId, wanted->modifiers, wanted->key))
        return "Another program holds this hotkey: choose another.";
    UnregisterHotKey(hwnd_, kTrialId);
    return "";
}

SettingsOutcome MainWindow::ApplySettings(const std::map<std::string, std::string>& changed) {
    // A hotkey another program holds is said beside its box before anything is saved.
    const auto hotkey = changed.find(shell::kKeyHotkey);
    if (hotkey != changed.end()) {
        const std::string taken = HotkeyTaken(hotkey->second);
        if (!taken.empty()) return {false, {{shell::kKeyHotkey, taken}}};
    }
    // Another history folder is checked and its question asked before anything is saved.
    const auto folder = changed.find(shell::kKeyHistoryFolder);
    FolderChange folderChange = FolderChange::kSameFolder;
    std::filesystem::path newFolder;
    if (folder != changed.end()) {
        newFolder = HistoryFolderNamed(folder->second);
        const std::string unusable = UnusableFolder(newFolder);
        if (!unusable.empty()) return {false, {{shell::kKeyHistoryFolder, unusable}}};
        folderChange = AskFolderChange(newFolder);
        if (folderChange == FolderChange::kCancelled) return {};
    }
    const auto typed = [&](const char* key) -> std::optional<std::string> {
        const auto it = changed.find(key);
        return it != changed.end() ? it->second : shell::KeptSetting(key);
    };
    const history::HistoryLimits limits =
        history::HistoryLimitsFromSettings(typed(shell::kKeyHistorySize), typed(shell::kKeyHistoryDisk));
    history_.FinishListing();  // every clip counts
    const std::size_t going = history_.ClipsBeyond(limits);
    const std::string clipsGoing = std::to_string(going) + (going == 1 ? " oldest clip" : " oldest clips");
    if (going > 0 &&
        !Confirmed(hwnd_, "Delete the " + clipsGoing + " beyond the new limits, files and all? Pinned clips stay."))
        return {};
    for (const auto& [key, value] : changed)
        if (!shell::SaveSetting(key, value)) {
            Tell(hwnd_, "The settings cannot be saved: the registry refused \"" + key + "\".");
            return {};
        }
    const auto tick = [&](const char* key, HWND box, void (MainWindow::*clicked)()) {
        const auto it = changed.find(key);
        if (it == changed.end()) return;
        SendMessageW(box, BM_SETCHECK, shell::IsOn(it->second) ? BST_CHECKED : BST_UNCHECKED, 0);
        (this->*clicked)();
    };
    tick(shell::kKeyWindowsStartup, startWithWindows_, &MainWindow::OnStartWithWindowsClicked);
    tick(shell::kKeyMinimized, startInTray_, &MainWindow::OnStartInTrayClicked);
    if (changed.count(shell::kKeyMachineId))
        history_.SetMachineId(std::uint32_t(std::stoul(changed.at(shell::kKeyMachineId), nullptr, 16)));
    if (folderChange != FolderChange::kSameFolder) ChangeHistoryFolder(newFolder, folderChange);
    tick(shell::kKeyRememberHistory, checkRemember_, &MainWindow::OnRememberHistoryClicked);
    if (changed.count(shell::kKeyNewestFirst)) ReadListOrder();
    historyLimits_ = limits;
    history_.ApplyLimits(limits);
    history_.SetBudget(clips::HistoryBudgetFromSetting(shell::GetSetting(shell::kKeyHistoryBudget, "")));
    ReadCaptureSettings();
    if (changed.count(shell::kKeyHotkey)) RegisterPopupHotkey();
    return {true, {}};
}

void MainWindow::ReadListOrder() {
    const bool newestFirst = shell::IsOn(shell::GetSetting(shell::kKeyNewestFirst, shell::kOff));
    clipList_.Model().SetReversed(newestFirst);
    search_.SetNewestFirst(newestFirst);
}

bool MainWindow::OnWindowMenuCommand(UINT command) {
    if (command == kCommandSettings) OpenSettings();
    else if (command == kCommandSetPassphrase) SetFolderPassphrase();
    else if (command == kCommandRecoveryCode) ShowRecoveryCode();
    else return false;
    return true;
}

}  // namespace mainwindow
