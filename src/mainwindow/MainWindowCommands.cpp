// The commands on the clips: delete one or all, save them all to the output folder, open one.
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "capture/ClipboardMonitor.h"
#include "history/HistoryStore.h"
#include "common/WindowText.h"
#include "mainwindow/ClipFiles.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowParts.h"
#include "mainwindow/Launch.h"
#include "mainwindow/OpenRules.h"
#include "mainwindow/UserMessages.h"
#include "shell/PathHelpers.h"

namespace mainwindow {


namespace {

const char kNothingOnClipboard[] = "Nothing on Clipboard";

// Removes the temporary files that opening clips leaves in TEMP, and nothing else.
void RemoveOwnTempFiles() {
    const std::string folder = shell::TempFolder() + "\\";
    const std::wstring wideFolder = common::Widen(folder);
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW((wideFolder + L"TEMP*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsOwnTempFileName(common::Narrow(found.cFileName)))
            DeleteFileW((wideFolder + found.cFileName).c_str());
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
}

// The hourglass for as long as an opening takes, however it ends.
struct HourglassScope {
    HourglassScope() { SetHourglass(true); }
    ~HourglassScope() { SetHourglass(false); }
};

// Left opens with the associated program, right asks which program; other buttons open nothing.
void OpenWithButton(int button, const std::string& target) {
    if (button == 1) OpenTarget(target);
    if (button == 2) OpenTargetWith(target);
}

void ReleaseHolderOf(clips::Clips& clips, const clips::ClipId& tag) {
    clips.Holders().Release(clips::FamilyOfKind(tag.kind), tag.holder);
}

}  // namespace

bool Confirmed(HWND owner, const std::string& question) {
    return ShowMessageBox(owner, question, shell::ApplicationTitle(), MB_YESNO) == IDYES;
}

void Tell(HWND owner, const std::string& text) { ShowMessageBox(owner, text, shell::ApplicationTitle(), MB_OK); }

void MainWindow::ClearPreview() {
    ShowWindow(preview_, SW_HIDE);
    ShowWindow(picturePanel_, SW_HIDE);
    common::SetWindowTextUtf8(infoLine_, kNothingOnClipboard);
}

void MainWindow::OnDeleteSelectedClicked() {
    ErrorReport step(hwnd_, "PushButton1_Click");
    step(1, [&] {
        auto& list = clipList_.Model();
        const int asked = list.ListIndex();
        if (asked >= 0 && asked < list.ListCount() && list.ItemPinned(asked)) {
            Tell(hwnd_, "\"" + list.ItemText(asked) + "\" is pinned: unpin it (Ctrl+P) to delete it.");
            return;
        }
        // Nothing current (an empty list): nothing to ask about.
        if (asked < 0 || asked >= list.ListCount()) return;
        const clips::ClipId tag = clips_.Tags().Tag(asked);
        if (!Confirmed(hwnd_, DeleteClipQuestion(list.ItemText(asked)))) return;
        // A copy captured while the question was up made the new clip current, and may have let the oldest
        // go: the clip deleted is the one asked about, wherever it is now.
        int now = list.ListCount() - 1;
        while (now >= 0 && clips_.Tags().Tag(now) != tag) --now;
        if (now < 0) return;
        if (now != list.ListIndex()) list.SetListIndex(now);
        DeleteClip();
    });
}

void MainWindow::DeleteClip() {
    ErrorReport step = ErrorReport::Bare(hwnd_, "Tessel Error!");
    auto& list = clipList_.Model();
    monitor_.SetCaptureSuppressed(true);
    const int position = list.ListIndex();
    if (position < 0) {
        monitor_.SetCaptureSuppressed(false);
        return;
    }
    clips::ClipId tag;
    step(3, [&] { tag = clips_.Tags().Tag(position); });
    step(4, [&] { ReleaseHolderOf(clips_, tag); });
    step(5, [&] { clips_.Tags().RemoveTag(position, list.ListCount()); });
    step(6, [&] {
        if (position == 0) ClearPreview();
    });
    step(7, [&] { list.RemoveItem(position); });
    step(8, [&] { list.SetListIndex(std::min(position, list.ListCount() - 1)); });  // the clip that followed
    step(9, [&] { ShowWindow(emptyPanel_, list.ListCount() < 1 ? SW_SHOW : SW_HIDE); });
    step(10, [&] { ::SetFocus(search_.Filtering() ? search_.FilterBox() : clipList_.picList()); });
    monitor_.SetCaptureSuppressed(false);
}

void MainWindow::OnDeleteAllClicked() {
    ErrorReport step(hwnd_, "PushButton3_Click");
    step(1, [&] {
        const auto& list = clipList_.Model();
        if (list.ListCount() == 0) return;
        int pinned = 0;
        for (int i = 0; i < list.ListCount(); ++i) pinned += list.ItemPinned(i) ? 1 : 0;
        if (pinned == list.ListCount()) {
            Tell(hwnd_, "Every clip is pinned: unpin a clip (Ctrl+P) to delete it.");
            return;
        }
        if (Confirmed(hwnd_, DeleteAllQuestion(list.ListCount(), pinned))) DeleteAll();
    });
}

void MainWindow::RemoveListedClips(bool pinnedStay) {
    auto& list = clipList_.Model();
    // In one pass: one by one, each removal would move every pin kept after it.
    std::vector<int> positions;
    for (int i = 0; i < list.ListCount(); ++i)
        if (!pinnedStay || !list.ItemPinned(i)) positions.push_back(i);
    const history::HistoryStore::ManyRemovals removals(history_);
    clips_.RemoveMany(positions);
}

void MainWindow::DeleteAll() {
    ErrorReport step(hwnd_, "DeleteAll");
    auto& list = clipList_.Model();
    monitor_.SetCaptureSuppressed(true);
    history_.FinishListing();  // the older clips of a long history go too
    // Pinned clips stay, in their order.
    step(2, [&] { RemoveListedClips(true); });
    const bool pinsStay = list.ListCount() > 0;
    step(3, [&] {
        if (!pinsStay) RemoveOwnTempFiles();
    });
    step(4, [&] {
        if (!pinsStay) list.Clear();
    });
    step(5, [&] { clips_.Tags().ResetCounters(pinsStay); });
    step(6, [&] {
        if (pinsStay) {
            list.SetListIndex(list.ListCount() - 1);
            return;
        }
        ClearPreview();
        ShowWindow(emptyPanel_, SW_SHOW);
    });
    monitor_.SetCaptureSuppressed(false);
}

void MainWindow::OnSaveResultsClicked() {
    std::string folder = common::WindowText(outputFolder_);
    if (!shell::FolderExists(folder)) {
        Tell(hwnd_, "Folder does not exist. Please select another folder.");
        return;
    }
    // A folder typed without its closing backslash still means inside it.
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    SetHourglass(true);
    int failed = 0, written = 0;
    std::string firstReason;
    const auto& list = clipList_.Model();
    for (int i = 0; i < list.ListCount(); ++i) {
        const clips::ClipId tag = clips_.Tags().Tag(i);
        const std::string extension = SavedExtension(tag.kind);
        // Read from the disk one at a time, as saving goes: a long history never fills the memory.
        if (extension.empty() || !history_.LoadClip(tag)) {
            if (!extension.empty() && ++failed == 1) firstReason = "its file in the history is damaged";
            continue;
        }
        try {
            // Earlier results are never overwritten: tags restart after Delete All.
            WriteClipFile(clips_.Holders(), FreeFileName(folder, clips::TagText(tag), extension, shell::FileExists), tag);
            ++written;
        } catch (const std::exception& error) {
            if (++failed == 1) firstReason = error.what();
        }
    }
    SetHourglass(false);
    // Where the files went and how many; failures are told once, with the first reason.
    Tell(hwnd_, SaveReport(written, folder, failed, firstReason));
}

void MainWindow::OnBrowseFolderClicked() {
    ErrorReport step(hwnd_, "PushButton7_Click");
    step(1, [&] {
        std::string chosen = shell::BrowseForFolder(hwnd_, "Please select folder:");
        if (chosen.empty()) return;
        if (chosen.back() != '\\') chosen += '\\';
        common::SetWindowTextUtf8(outputFolder_, chosen);
    });
}

void MainWindow::OnPreviewMouseDown(int button) {
    ErrorReport step(hwnd_, "Text1_MouseDown");
    step(1, [&] {
        const int position = clipList_.Model().ListIndex();
        if (position < 0) return;
        const clips::ClipId tag = clips_.Tags().Tag(position);
        const std::string kind = tag.kind;
        if (kind != clips::kKindText && kind != clips::kKindFileList && kind != clips::kKindRichText) return;
        if (!history_.UseClip(tag)) return;
        HourglassScope hourglass;
        const std::string text = clips_.Text(tag);
        std::string target;
        if (IsWebAddressToOpen(text)) {
            target = WebTarget(text);
        } else {
            target = TempFilePath(shell::TempFolder(), position, TempExtension(kind));
            WriteClipFile(clips_.Holders(), target, tag);
        }
        OpenWithButton(button, target);
    });
}

void MainWindow::OnPictureMouseDown(int button) {
    ErrorReport step(hwnd_, "Image1_MouseDown");
    step(1, [&] {
        const int position = clipList_.Model().ListIndex();
        if (position < 0) return;
        const clips::ClipId tag = clips_.Tags().Tag(position);
        if (tag.kind != clips::kKindPicture || !history_.UseClip(tag)) return;
        HourglassScope hourglass;
        const std::string target = TempFilePath(shell::TempFolder(), position, TempExtension(clips::kKindPicture));
        WriteClipFile(clips_.Holders(), target, tag);
        OpenWithButton(button, target);
    });
}

}  // namespace mainwindow
