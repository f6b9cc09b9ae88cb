// The history taken to another folder from the settings window: the folder checked, the user asked what
// becomes of the clips, and the history opened there as a start would open it.
#include <windows.h>

#include <filesystem>
#include <string>

#include "history/FolderKeys.h"
#include "history/FolderTransfer.h"
#include "history/HistoryStore.h"
#include "mainwindow/ChoiceWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"
#include "mainwindow/UserMessages.h"

namespace mainwindow {
namespace {

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    return lstrcmpiW(a.lexically_normal().wstring().c_str(), b.lexically_normal().wstring().c_str()) == 0;
}

}  // namespace

std::filesystem::path MainWindow::HistoryFolderNamed(const std::string& named) const {
    return named.empty() ? history::DefaultHistoryFolder() : std::filesystem::path(common::Widen(named));
}

std::string MainWindow::UnusableFolder(const std::filesystem::path& folder) const {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) return "This folder cannot be made here.";
    // A file that is gone when closed: a sync service never carries it.
    HANDLE trial = CreateFileW((folder / L"ardentia-write-trial.part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (trial == INVALID_HANDLE_VALUE) return "Ardentia cannot write in this folder.";
    CloseHandle(trial);
    return "";
}

MainWindow::FolderChange MainWindow::AskFolderChange(const std::filesystem::path& to) {
    if (SameFolder(to, historyFolder_)) return FolderChange::kSameFolder;
    const int listed = clipList_.Model().ListCount();
    if (listed == 0) return FolderChange::kStartEmpty;
    const int choice = AskChoice(hwnd_, FolderChangeQuestion(listed, common::Narrow(historyFolder_.wstring()),
                                                             common::Narrow(to.wstring())),
                                 {"Move Clips", "Copy Clips", "Start Empty", "Cancel"});
    return choice < 0 || choice > int(FolderChange::kCancelled) ? FolderChange::kCancelled : FolderChange(choice);
}

void MainWindow::ChangeHistoryFolder(const std::filesystem::path& to, FolderChange change) {
    SetHourglass(true);
    // What is queued is written to the old folder first; the clips leave the list with their files kept.
    syncStartPosted_ = false;
    history_.StopSync();
    history_.Close();
    RemoveListedClips(false);
    clipList_.Model().Clear();
    clips_.Tags().ResetCounters(false);
    ClearPreview();
    history::FilesTransferred taken;
    if (change == FolderChange::kMoveClips || change == FolderChange::kCopyClips)
        taken = history::TransferClipFiles(historyFolder_, to, change == FolderChange::kMoveClips);
    // Files came and went behind the store's back: both folders are listed from their files when next opened.
    if (taken.done > 0) {
        history::ForgetFolderIndex(to);
        history::ForgetFolderIndex(historyFolder_);
    }
    const std::filesystem::path from = historyFolder_;
    historyFolder_ = to;
    history_.SetFolderShared(!SameFolder(to, history::DefaultHistoryFolder()));
    const history::FolderKey key = history::KeyOfFolder(historyFolder_);
    std::string said = OpenSealedHistory(key);
    if (key.asksPassphrase || key.asksRecoveryCode) PostMessageW(hwnd_, kAskFolderKey, 0, 0);
    if (taken.failed > 0)
        said += std::string(said.empty() ? "" : "; ") + std::to_string(taken.failed) + " clip files stay in " +
                common::Narrow(from.wstring()) + " (" + taken.firstProblem + ")";
    common::SetWindowTextUtf8(infoLine_, said.empty() ? "The history is kept in " + common::Narrow(to.wstring()) : said);
    auto& list = clipList_.Model();
    if (list.ListCount() > 0) {
        list.SetListIndex(list.ListCount() - 1);
        HideEmptyPanel();
    } else {
        ShowWindow(emptyPanel_, SW_SHOW);
    }
    RefreshSearch();
    SetHourglass(false);
}

}  // namespace mainwindow
