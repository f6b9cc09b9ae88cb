// Keeps the history shown in step with a history folder that other machines write too: the folder is
// watched, and what another machine added, deleted or pinned there is added, removed or pinned here,
// without the clipboard or the focus. This machine's own writes change nothing here.
#include <memory>
#include <utility>

#include "history/FolderMerge.h"
#include "history/HistoryStore.h"

namespace history {

bool HistoryStore::StartSync(HWND window) {
    syncWindow_ = window;
    // Watched once the index's older blocks are listed: the first listing compares the whole history.
    if (indexBlocks_) {
        if (!indexThread_.joinable()) ListOlderBlocks(window);
        return true;
    }
    return watcher_.Start(
        Folder(), state_.sealer, window, kFolderListedMessage, [this] { return state_.worker.Done(); },
        [this](const std::filesystem::path& name, bool removed) { return state_.worker.IsOwnChange(name, removed); },
        std::move(state_.indexed));
}

bool HistoryStore::ApplyFolderListing(LPARAM listed) {
    const std::unique_ptr<FolderListed> taken(reinterpret_cast<FolderListed*>(listed));
    if (!taken || !clips_.Host() || !watcher_.Running()) return false;
    if (!taken->failure.empty()) {
        clips_.Host()->ReportRefusedClip("Not done: " + taken->failure);
        return false;
    }
    // The first listing after a start from the index: files it did not know of that are not whole are said.
    const HistoryListing& listing = taken->listing;
    if (!inStep_ && (listing.damaged > skippedAtStart_.first || listing.unsealed > skippedAtStart_.second))
        clips_.Host()->ReportRefusedClip(SkippedFilesLine(listing.damaged, listing.unsealed));
    inStep_ = true;
    std::vector<KnownClip> known;
    for (const StoredClipState& state : StoredClipStates(taken->writesDoneBefore))
        known.push_back({state.id, state.pinned, state.settled});
    const FolderChanges changes = ChangesBetween(known, taken->listing, state_.deletedHere);
    const bool listedPartly = std::exchange(listedPartly_, false);
    if (changes.Empty() && !listedPartly) return false;
    RemoveClipsDeletedElsewhere(changes.removed);
    AddClipsFromElsewhere(changes.added);
    for (const auto& [id, pinned] : changes.repinned) SetPinFromElsewhere(id, pinned);
    RemoveClipsOverLimit();
    if (!changes.added.empty()) ReadNewestWhole();
    // The rest of a first start's files are listed now: the limits count them, search reads them, and the
    // folder is indexed.
    if (listedPartly) {
        TrimToDiskLimit();
        ReadSearchTextsAhead();
        SaveIndex();
    }
    return true;
}

}  // namespace history
