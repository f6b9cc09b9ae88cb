// The history folder's key as the main window handles it: the folder opened with its key; the passphrase of a
// shared folder asked for once on each machine, and set from the window menu (or "Ardentia.exe /passphrase");
// the key's recovery code shown there, and asked for where the user no longer holds the key.
#include <windows.h>

#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"
#include "history/RecoveryCode.h"
#include "mainwindow/PassphraseDialog.h"
#include "seal/Passphrase.h"

namespace mainwindow {

std::string MainWindow::OpenSealedHistory(const history::FolderKey& key) {
    folderKey_ = key.sealer;
    if (!key.sealer) return key.problem;
    // The first version's plain files are sealed once; until all are, the next start tries again.
    if (!key.plainFilesSealed && history::SealPlainFiles(historyFolder_, *key.sealer).failed == 0)
        history::NotePlainFilesSealed(historyFolder_, *key.sealer);
    history_.Open(historyFolder_, key.sealer);
    // Two machines that made a key for this folder at once: one key file stays, and the clips sealed here
    // with the other key join it.
    const std::string said = history_.Restore(historyLimits_, [&] {
        return history::SealFilesOfOtherKeys(historyFolder_, *key.sealer, history::OtherKeysHeld(*key.sealer)).sealed >
               0;
    });
    // Another machine may write the folder too (a file-sync service keeps it alike): what it does shows here.
    // At start, once the window is painted: listing the folder or the index's older blocks on another thread
    // meanwhile slowed the first paint of a long history.
    syncStartPosted_ = !IsWindowVisible(hwnd_) && PostMessageW(hwnd_, kStartFolderSync, 0, 0);
    if (!syncStartPosted_) history_.StartSync(hwnd_);
    StartSearchKeysAhead();
    return said;
}

void MainWindow::AskFolderKey() {
    if (folderKey_) return;
    const history::FolderKey now = history::KeyOfFolder(historyFolder_);
    if (!now.asksPassphrase && !now.asksRecoveryCode) return;
    history::FolderKey opened;
    const PassphraseRequest request =
        now.asksPassphrase
            ? PassphraseRequest{"This history folder is shared and sealed with a passphrase. Type it once to open "
                                "the folder here.",
                                false, true}
            : PassphraseRequest{"This history folder is sealed with a key this Windows user does not hold. Type its "
                                "recovery code to open it.",
                                false, false};
    const auto taken = AskPassphrase(hwnd_, request, [&](const std::string& typed) -> std::string {
        opened = now.asksPassphrase ? history::OpenWithPassphrase(historyFolder_, typed)
                                    : history::OpenWithRecoveryCode(historyFolder_, typed);
        return opened.sealer ? "" : opened.problem + ".";
    });
    if (!taken || !opened.sealer) return;  // the line still says the folder is not open
    const std::string said = OpenSealedHistory(opened);
    common::SetWindowTextUtf8(infoLine_, said.empty() ? "The history folder is open" : said);
    auto& list = clipList_.Model();
    if (list.ListCount() > 0) {
        list.SetListIndex(list.ListCount() - 1);
        HideEmptyPanel();
    }
    RefreshSearch();
}

void MainWindow::SetFolderPassphrase() {
    if (!folderKey_) {
        Tell(hwnd_, "The history folder is not open on this machine, so it has no passphrase to set here.");
        return;
    }
    const PassphraseRequest request{"A passphrase lets other machines that share this history folder open it. "
                                    "Type it twice; each of them asks for it once.",
                                    true};
    const auto taken = AskPassphrase(hwnd_, request, [&](const std::string& passphrase) -> std::string {
        if (passphrase.size() < seal::kShortestPassphrase)
            return "A passphrase has at least " + std::to_string(seal::kShortestPassphrase) + " characters.";
        const std::string failed = history::SetPassphrase(historyFolder_, *folderKey_, passphrase);
        return failed.empty() ? "" : "Not set: " + failed + ".";
    });
    if (taken) common::SetWindowTextUtf8(infoLine_, "The history folder's passphrase is set");
}

void MainWindow::ShowRecoveryCode() {
    if (!folderKey_) {
        Tell(hwnd_, "The history folder is not open on this machine, so its key is not at hand here.");
        return;
    }
    Tell(hwnd_, "The recovery code of this history folder's key:\n\n" + history::RecoveryCode(folderKey_->KeyBytes()) +
                    "\n\nKeep it where only you can find it. With it, the folder opens again after Windows is "
                    "installed anew or for another account; without it, nothing in the folder can be read there.");
}

void MainWindow::AddKeyCommands() {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCommandSettings, L"Settings...");
    AppendMenuW(menu, MF_STRING, kCommandSetPassphrase, L"History Folder Passphrase...");
    AppendMenuW(menu, MF_STRING, kCommandRecoveryCode, L"History Recovery Code...");
}

}  // namespace mainwindow
