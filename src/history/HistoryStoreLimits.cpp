// How much of the history the store holds: in memory, clips read back; on the disk, "History Disk MB".
#include "history/HistoryStore.h"

#include "history/HistoryStoreFiles.h"
#include "cliplist/ClipListControl.h"

namespace history {

// At most kClipsHeldInMemory clips read back from their files stay held: the oldest go back to the disk.
void HistoryStore::UnloadBeyondLimit(const clips::ClipId& keep) {
    int held = 0;
    for (const auto& [key, entry] : state_.entries) held += entry.loaded && OnDisk(entry) ? 1 : 0;
    const auto& list = clips_.Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount() && held > kClipsHeldInMemory; ++position) {
        const clips::ClipId tag = clips_.Tags().Tag(position);
        if (tag != keep && UnloadClip(tag)) --held;
    }
}

// A clip read back counts against the memory budget like any other: the oldest the disk holds go back to it.
void HistoryStore::UnloadOverBudget(const clips::ClipId& keep) {
    std::uint64_t held = HeldBytes();
    const auto& list = clips_.Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount() && held > budget_; ++position) {
        const clips::ClipId tag = clips_.Tags().Tag(position);
        const std::uint64_t bytes =
            clips_.Holders().HeldBytes(clips::FamilyOfKind(tag.kind), tag.holder);
        if (tag != keep && UnloadClip(tag)) held -= std::min(held, bytes);
    }
}

std::vector<StoredClip> HistoryStore::ListedOldestFirst() const {
    const auto& list = clips_.Host()->ClipList().Model();
    std::vector<StoredClip> oldestFirst;
    for (int position = 0; position < list.ListCount(); ++position) {
        StoredClip clip;
        const auto it = state_.entries.find(KeyOf(clips_.Tags().Tag(position)));
        clip.bytes = it == state_.entries.end() ? 0 : it->second.fileBytes;
        clip.header.pinned = list.ItemPinned(position);
        oldestFirst.push_back(clip);
    }
    return oldestFirst;
}

std::size_t HistoryStore::ClipsBeyond(const HistoryLimits& limits) const {
    return clips_.Host() ? ClipsToRemove(ListedOldestFirst(), limits).size() : 0;
}

void HistoryStore::ApplyLimits(const HistoryLimits& limits) {
    FinishListing();
    clips_.SetHistorySize(int(limits.clips));
    state_.diskBytes = limits.diskBytes;
    if (!clips_.Host()) return;
    RemoveClipsOverLimit();
    TrimToDiskLimit();
}

// When the files pass "History Disk MB", the oldest unpinned clips go, files and all.
void HistoryStore::TrimToDiskLimit() {
    auto& list = clips_.Host()->ClipList().Model();
    HistoryLimits limits;
    limits.clips = std::size_t(clips::kTagSlots);
    limits.diskBytes = state_.diskBytes;
    const std::vector<std::size_t> removed = ClipsToRemove(ListedOldestFirst(), limits);
    TrimScope trimming(*this);
    std::vector<int> positions;
    for (std::size_t position : removed)
        if (int(position) < list.ListCount() - 1) positions.push_back(int(position));  // the newest clip stays
    clips_.RemoveMany(positions);
}

// The oldest unpinned go; the newest clip never does (it is the copy just made).
void HistoryStore::RemoveClipsOverLimit() {
    if (!clips_.Host()) return;
    const auto& list = clips_.Host()->ClipList().Model();
    const int over = list.ListCount() - clips_.HistorySize();
    std::vector<int> positions;
    for (int position = 0; position < list.ListCount() - 1 && int(positions.size()) < over; ++position)
        if (!list.ItemPinned(position)) positions.push_back(position);
    TrimScope trimming(*this);
    clips_.RemoveMany(positions);
}

}  // namespace history
