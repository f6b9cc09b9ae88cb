// Copies that look like a credential (clips/CredentialRules.h): kept in memory only, marked with a lock,
// and gone after "Secret Seconds" unless the user pins them, which asks first.
#include <windows.h>

#include <algorithm>

#include "clipboard/IgnoredPrograms.h"
#include "clips/CredentialRules.h"
#include "common/SettingNumber.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"
#include "shell/SettingsStore.h"

namespace mainwindow {

void MainWindow::ReadCaptureSettings() {
    monitor_.SetIgnoredPrograms(clipboard::ParseIgnoredPrograms(shell::GetSetting(shell::kKeyIgnorePrograms, "")));
    // A value not understood keeps the default: a credential is never kept longer than asked for by mistake.
    std::uint64_t seconds = 60;
    if (!common::SettingNumber(shell::GetSetting(shell::kKeySecretSeconds, "60"), 0, 86400, seconds)) seconds = 60;
    monitor_.SetSecretSeconds(int(seconds));
}

void MainWindow::NoteCredentialClip(const clips::ClipId& tag) {
    credentialsUntil_[clips::TagText(tag)] = std::chrono::steady_clock::now() +
                                             std::chrono::seconds(monitor_.SecretSeconds());
    SetTimer(hwnd_, kCredentialTimer, 1000, nullptr);
}

bool MainWindow::IsCredentialClip(const clips::ClipId& tag) const {
    return credentialsUntil_.count(clips::TagText(tag)) != 0;
}

void MainWindow::ExpireCredentials() {
    auto& list = clipList_.Model();
    const auto now = std::chrono::steady_clock::now();
    bool removed = false;
    for (auto it = credentialsUntil_.begin(); it != credentialsUntil_.end();) {
        int position = list.ListCount() - 1;
        while (position >= 0 && clips::TagText(clips_.Tags().Tag(position)) != it->first) --position;
        // Deleted meanwhile: its tag may serve another clip, which has no lock.
        if (position >= 0 && list.ItemIcon(position) != clips::kLockIcon) position = -1;
        if (position < 0) {
            it = credentialsUntil_.erase(it);
            continue;
        }
        if (now < it->second || list.ItemPinned(position)) {
            ++it;
            continue;
        }
        clips_.Remove(position);
        if (position == 0) ClearPreview();
        it = credentialsUntil_.erase(it);
        removed = true;
    }
    if (credentialsUntil_.empty()) KillTimer(hwnd_, kCredentialTimer);
    if (!removed) return;
    if (list.ListIndex() < 0 && list.ListCount() > 0) list.SetListIndex(list.ListCount() - 1);
    ShowWindow(emptyPanel_, list.ListCount() < 1 ? SW_SHOW : SW_HIDE);
    ShowCurrentClip();
    InvalidateRect(clipList_.picList(), nullptr, TRUE);
    RefreshSearch();
    if (popup_.IsOpen()) popup_.Update(PopupItems(popup_.SpareItems()));
}

bool MainWindow::MayPin(int position) {
    const clips::ClipId tag = clips_.Tags().Tag(position);
    if (!IsCredentialClip(tag)) return true;
    if (!Confirmed(hwnd_, "This clip looks like a password or a key. Pinned, it stays, and it is written to the "
                          "history folder, sealed. Pin it?"))
        return false;
    credentialsUntil_.erase(clips::TagText(tag));
    history_.KeepInMemoryOnly(tag, false);
    return true;
}

}  // namespace mainwindow
