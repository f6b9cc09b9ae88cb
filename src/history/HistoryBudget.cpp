// The history's memory budget: the bytes every clip holds, and the oldest clips let go when a new one
// brings the history over it.
#include <vector>

#include "clips/ClipLimits.h"
#include "cliplist/ClipListControl.h"
#include "history/HistoryStore.h"

namespace history {

std::vector<std::uint64_t> HistoryStore::ClipBytesOldestFirst() {
    std::vector<std::uint64_t> sizes;
    clips::CaptureHost* host = clips_.Host();
    if (!host) return sizes;
    const int count = host->ClipList().Model().ListCount();
    for (int position = 0; position < count; ++position) {
        const clips::ClipId id = clips_.Tags().Tag(position);
        sizes.push_back(clips_.Holders().HeldBytes(clips::FamilyOfKind(id.kind), id.holder));
    }
    return sizes;
}

// The clips passed over: those on the disk only (they hold nothing), and pinned ones with no file to go
// back to.
std::vector<bool> HistoryStore::MustStayOldestFirst() {
    std::vector<bool> stay;
    if (clips::CaptureHost* host = clips_.Host())
        for (int position = 0; position < host->ClipList().Model().ListCount(); ++position) {
            const clips::ClipId id = clips_.Tags().Tag(position);
            stay.push_back(!ClipHeld(id) || (host->ClipList().Model().ItemPinned(position) && !StoredOnDisk(id)));
        }
    return stay;
}

std::uint64_t HistoryStore::HeldBytes() {
    std::uint64_t total = 0;
    for (std::uint64_t bytes : ClipBytesOldestFirst()) total += bytes;
    return total;
}

void HistoryStore::EvictOverBudget() {
    // A picture counts its full pixels until it is compressed. Rather than let older clips go for pixels
    // about to shrink, the compression is awaited first, and only when the history would be over budget.
    std::vector<std::size_t> over = clips::ClipsToEvict(ClipBytesOldestFirst(), MustStayOldestFirst(), budget_);
    if (!over.empty() && clips_.Holders().Pictures().Compressing()) {
        clips_.Holders().Pictures().FinishCompressing();
        over = clips::ClipsToEvict(ClipBytesOldestFirst(), MustStayOldestFirst(), budget_);
    }
    // Newest first, so that the positions still to go stay where they were. A clip its file holds whole
    // only goes back to the disk, pinned or not; the others go.
    for (auto it = over.rbegin(); it != over.rend(); ++it)
        if (!UnloadClip(clips_.Tags().Tag(int(*it)))) clips_.Remove(int(*it));
}

}  // namespace history
