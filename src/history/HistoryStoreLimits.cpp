// How much of the history the store holds: in memory, clips read back; on the disk, "History Disk MB".
#include "history/HistoryStore.h"

#include "history/HistoryBudget.h"
#include "history/HistoryStoreFiles.h"
#include "history/HistoryStoreState.h"
#include "clips/Clips.h"
#include "cliplist/ClipListControl.h"

namespace history {

// At most kClipsHeldInMemory clips read back from their files stay held: the oldest go back to the disk.
void UnloadBeyondLimit(const clips::ClipId& keep) {
    int held = 0;
    for (const auto& [key, entry] : State().entries) held += entry.loaded && OnDisk(entry) ? 1 : 0;
    const auto& list = clips::Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount() && held > kClipsHeldInMemory; ++position) {
        const clips::ClipId tag = clips::ClipTags().Tag(position);
        if (tag != keep && UnloadClip(tag)) --held;
    }
}

// A clip read back counts against the memory budget like any other: the oldest the disk holds go back to it.
void UnloadOverBudget(const clips::ClipId& keep) {
    std::uint64_t held = HistoryBytes();
    const auto& list = clips::Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount() && held > HistoryBudget(); ++position) {
        const clips::ClipId tag = clips::ClipTags().Tag(position);
        const std::uint64_t bytes =
            clips::Holders().HeldBytes(clips::FamilyOfKind(tag.kind), tag.holder);
        if (tag != keep && UnloadClip(tag)) held -= std::min(held, bytes);
    }
}

// When the files pass "History Disk MB", the oldest unpinned clips go, files and all.
void TrimToDiskLimit() {
    auto& list = clips::Host()->ClipList().Model();
    std::vector<StoredClip> oldestFirst;
    for (int position = 0; position < list.ListCount(); ++position) {
        StoredClip clip;
        const auto it = State().entries.find(KeyOf(clips::ClipTags().Tag(position)));
        clip.bytes = it == State().entries.end() ? 0 : it->second.fileBytes;
        clip.header.pinned = list.ItemPinned(position);
        oldestFirst.push_back(clip);
    }
    HistoryLimits limits;
    limits.clips = std::size_t(clips::kTagSlots);
    limits.diskBytes = State().diskBytes;
    const std::vector<std::size_t> removed = ClipsToRemove(oldestFirst, limits);
    TrimScope trimming;
    cliplist::ClipListControl::PaintHold hold(clips::Host()->ClipList());
    // Newest first, so that the positions still to go stay where they were; the newest clip stays.
    for (auto it = removed.rbegin(); it != removed.rend(); ++it)
        if (int(*it) < list.ListCount() - 1) clips::RemoveClip(int(*it));
}

void RemoveClipsOverLimit() {
    if (!clips::Host()) return;
    TrimScope trimming;
    while (clips::Host()->ClipList().Model().ListCount() > clips::HistorySize()) {
        const int oldest = clips::OldestUnpinnedClip();
        if (oldest < 0) return;
        clips::RemoveClip(oldest);
    }
}

}  // namespace history
