#include "history/HistorySync.h"

#include <memory>

#include "history/HistoryStore.h"
#include "clips/Clips.h"
#include "history/FolderMerge.h"
#include "history/FolderWatcher.h"

namespace historysync {

namespace {
FolderWatcher gWatcher;
}  // namespace

bool StartHistorySync(HWND window) {
    return gWatcher.Start(capture::HistoryFolder(), window, kFolderListedMessage, [] { return capture::HistoryWritesDone(); },
                          capture::IsOwnHistoryChange);
}

void StopHistorySync() { gWatcher.Stop(); }

bool HistorySyncRunning() { return gWatcher.Running(); }

bool ApplyFolderListing(LPARAM listed) {
    const std::unique_ptr<FolderListed> taken(reinterpret_cast<FolderListed*>(listed));
    if (!taken || !capture::Host() || !gWatcher.Running()) return false;
    if (!taken->failure.empty()) {
        capture::Host()->ReportRefusedClip("Not done: " + taken->failure);
        return false;
    }
    std::vector<KnownClip> known;
    for (const capture::StoredClipState& state : capture::StoredClipStates(taken->writesDoneBefore))
        known.push_back({state.id, state.pinned, state.settled});
    const FolderChanges changes = ChangesBetween(known, taken->listing, capture::FilesDeletedHere());
    if (changes.Empty()) return false;
    for (const capture::ClipFileId& id : changes.removed) capture::RemoveClipDeletedElsewhere(id);
    for (const capture::StoredClip& clip : changes.added) capture::AddClipFromElsewhere(clip);
    for (const auto& [id, pinned] : changes.repinned) capture::SetPinFromElsewhere(id, pinned);
    capture::RemoveClipsOverLimit();
    return true;
}

}  // namespace historysync
