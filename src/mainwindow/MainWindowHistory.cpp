// The history as the main window keeps it: what start-up brings back from the disk, pins, the list's
// menu, and whether the history is remembered at all.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include "history/FolderKeys.h"
#include "history/HistoryFolder.h"
#include "history/HistoryStore.h"
#include "clips/Clips.h"
#include "common/WindowText.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"
#include "shell/SettingsStore.h"

namespace mainwindow {


namespace {

enum MenuCommand { kMenuPin = 1, kMenuPutBack, kMenuDelete };

// This machine's part of the history's file names, made once and kept in the settings.
std::uint32_t MachineId() {
    const std::string kept = shell::GetSetting(shell::kKeyMachineId, "");
    if (kept.size() == 8 && kept.find_first_not_of("0123456789abcdef") == std::string::npos)
        return std::uint32_t(std::stoul(kept, nullptr, 16));
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    std::seed_seq seed{std::uint32_t(now.QuadPart), std::uint32_t(now.QuadPart >> 32),
                       std::uint32_t(GetCurrentProcessId()), std::uint32_t(GetTickCount()), std::random_device{}()};
    std::mt19937 random(seed);
    const std::uint32_t made = random() | 1;  // never 0, which names the files of the first version
    char text[9];
    std::snprintf(text, sizeof(text), "%08lx", static_cast<unsigned long>(made));
    shell::SaveSetting(shell::kKeyMachineId, text);
    return made;
}

int PinnedCount(const cliplist::ClipListModel& list) {
    int pinned = 0;
    for (int i = 0; i < list.ListCount(); ++i) pinned += list.ItemPinned(i) ? 1 : 0;
    return pinned;
}

}  // namespace

// The clips kept on disk come back, in the order they were captured, the newest current; the files
// that could not be read are counted for the information line (Show).
void MainWindow::RestoreKeptHistory() {
    // A value of another type reads as no number at all: set, and not understood.
    const history::HistoryLimits limits = historyLimits_ = history::HistoryLimitsFromSettings(
        shell::KeptSetting(shell::kKeyHistorySize), shell::KeptSetting(shell::kKeyHistoryDisk));
    clips_.SetHistorySize(int(limits.clips));
    history_.SetDiskLimit(limits.diskBytes);
    history_.SetRemember(shell::GetSetting(shell::kKeyRememberHistory, shell::kOn) != shell::kOff);
    history_.SetMachineId(MachineId());
    ReadCaptureSettings();
    SendMessageW(checkRemember_, BM_SETCHECK, history_.Remembers() ? BST_CHECKED : BST_UNCHECKED, 0);
    // Opened even when the history is not remembered: pinned clips are.
    const std::string named = shell::GetSetting(shell::kKeyHistoryFolder, "");
    historyFolder_ = named.empty() ? history::DefaultHistoryFolder() : std::filesystem::path(common::Widen(named));
    history_.SetFolderShared(historyFolder_ != history::DefaultHistoryFolder());
    const history::FolderKey key = history::KeyOfFolder(historyFolder_);
    historyNote_ = OpenSealedHistory(key);
    // Asked once the window shows: a shared folder's passphrase this machine has not been told yet, or the
    // recovery code of a key this user no longer holds.
    if (key.asksPassphrase || key.asksRecoveryCode) PostMessageW(hwnd_, kAskFolderKey, 0, 0);
    for (const auto& [understood, key] : {std::pair<bool, const char*>{limits.sizeUnderstood, shell::kKeyHistorySize},
                                          {limits.diskUnderstood, shell::kKeyHistoryDisk}})
        if (!understood)
            historyNote_ += std::string(historyNote_.empty() ? "" : "; ") + "The setting \"" + key +
                            "\" is not understood: no clip is deleted for it";
    ReadListOrder();
    auto& list = clipList_.Model();
    if (list.ListCount() > 0) {
        list.SetListIndex(list.ListCount() - 1);
        HideEmptyPanel();
    }
}

void MainWindow::TogglePin(int position) {
    auto& list = clipList_.Model();
    if (position < 0 || position >= list.ListCount()) return;
    const bool pin = !list.ItemPinned(position);
    // Pinned clips are never let go: their number is bounded as the history is.
    if (pin && PinnedCount(list) >= clips::kMaxHistoryClips) {
        Tell(hwnd_, "At most " + std::to_string(clips::kMaxHistoryClips) + " clips can be pinned.");
        return;
    }
    if (pin && !MayPin(position)) return;
    list.SetItemPinned(position, pin);
    history_.QueueRewrite(hwnd_, clips_.Tags().Tag(position));
    // Unpinned, it counts against the history's size again.
    if (!pin) history_.RemoveClipsOverLimit();
}

void MainWindow::MouseUp(int button, int, float, float y) {
    if (button != 2) return;
    auto& list = clipList_.Model();
    const int index = list.IndexAt(list.TopIndex() + int(y) / std::max(1, clipList_.RowHeight()));
    if (index < 0) return;
    list.SetListIndex(index);
    ShowClipMenu();
}

void MainWindow::ShowClipMenu() {
    auto& list = clipList_.Model();
    const int position = list.ListIndex();
    if (position < 0) return;
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kMenuPutBack, L"Put back on the clipboard\tEnter");
    AppendMenuW(menu, MF_STRING, kMenuPin, list.ItemPinned(position) ? L"Unpin\tCtrl+P" : L"Pin\tCtrl+P");
    AppendMenuW(menu, MF_STRING, kMenuDelete, L"Delete\tDel");
    const int chosen = ChooseFromMenu(hwnd_, menu);
    DestroyMenu(menu);
    // The list may have changed while the menu was open: act on the clip it was opened for.
    if (list.ListIndex() != position) return;
    if (chosen == kMenuPutBack) PutCurrentClipBack();
    if (chosen == kMenuPin) TogglePin(position);
    if (chosen == kMenuDelete) OnDeleteSelectedClicked();
}

void MainWindow::OnRememberHistoryClicked() {
    const bool remember = common::IsTicked(checkRemember_);
    if (remember == history_.Remembers()) return;
    shell::SaveSetting(shell::kKeyRememberHistory, remember ? shell::kOn : shell::kOff);
    history_.SetRemember(remember);
    const auto& list = clipList_.Model();
    const int unpinned = list.ListCount() - PinnedCount(list);
    // Switched on, every clip is written; switched off, the files of the unpinned go only when asked.
    if (remember || (unpinned > 0 &&
                     Confirmed(hwnd_, "Delete the " + std::to_string(unpinned) +
                                          " unpinned clips already stored on disk? They stay in the list until "
                                          "the program ends, as many as its memory budget holds; pinned clips "
                                          "stay stored.")))
        history_.QueueRememberChoice(hwnd_);
}

}  // namespace mainwindow
