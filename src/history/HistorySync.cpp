#include "history/HistorySync.h"

#include <memory>

#include "history/HistoryStore.h"
#include "clips/Clips.h"
#include "history/FolderMerge.h"
#include "history/FolderWatcher.h"

namespace history {

namespace {
FolderWatcher gWatcher;
}  // namespace

bool StartHistorySync(HWND window) {
    return gWatcher.Start(
        HistoryFolder(), window, kFolderListedMessage, [] { return HistoryWritesDone(); },
        IsOwnHistoryChange);
}

void StopHistorySync() { gWatcher.Stop(); }

bool HistorySyncRunning() { return gWatcher.Running(); }

bool ApplyFolderListing(LPARAM listed) {
    const std::unique_ptr<FolderListed> taken(reinterpret_cast<FolderListed*>(listed));
    if (!taken || !clips::Host() || !gWatcher.Running()) return false;
    if (!taken->failure.empty()) {
        clips::Host()->ReportRefusedClip("Not done: " + taken->failure);
        return false;
    }
    std::vector<KnownClip> known;
    for (const StoredClipState& state : StoredClipStates(taken->writesDoneBefore))
        known.push_back({state.id, state.pinned, state.settled});
    const FolderChanges changes = ChangesBetween(known, taken->listing, FilesDeletedHere());
    if (changes.Empty()) return false;
    for (const ClipFileId& id : changes.removed) RemoveClipDeletedElsewhere(id);
    for (const StoredClip& clip : changes.added) AddClipFromElsewhere(clip);
    for (const auto& [id, pinned] : changes.repinned) SetPinFromElsewhere(id, pinned);
    RemoveClipsOverLimit();
    return true;
}

}  // namespace history
