#include "history/HistoryBudget.h"

#include <vector>

#include "clips/ClipLimits.h"
#include "history/HistoryStore.h"
#include "clips/Clips.h"
#include "cliplist/ClipListControl.h"

namespace history {

namespace {

std::uint64_t gBudget = clips::kDefaultHistoryBudget;

std::vector<std::uint64_t> ClipBytesOldestFirst() {
    std::vector<std::uint64_t> sizes;
    clips::CaptureHost* host = clips::Host();
    if (!host) return sizes;
    const int count = host->ClipList().Model().ListCount();
    for (int position = 0; position < count; ++position) {
        const clips::ClipId tag = clips::ClipTags().Tag(position);
        sizes.push_back(
            clips::Holders().HeldBytes(clips::FamilyOfKind(tag.kind), tag.holder));
    }
    return sizes;
}

// The clips passed over: those on the disk only (they hold nothing), and pinned ones with no file to go
// back to.
std::vector<bool> MustStayOldestFirst() {
    std::vector<bool> stay;
    if (clips::CaptureHost* host = clips::Host())
        for (int position = 0; position < host->ClipList().Model().ListCount(); ++position) {
            const clips::ClipId tag = clips::ClipTags().Tag(position);
            stay.push_back(!ClipHeld(tag) || (host->ClipList().Model().ItemPinned(position) && !StoredOnDisk(tag)));
        }
    return stay;
}

}  // namespace

void SetHistoryBudget(std::uint64_t bytes) { gBudget = bytes; }

std::uint64_t HistoryBudget() { return gBudget; }

std::uint64_t HistoryBytes() {
    std::uint64_t total = 0;
    for (std::uint64_t bytes : ClipBytesOldestFirst()) total += bytes;
    return total;
}

void EvictOverBudget() {
    // A picture counts its full pixels until it is compressed. Rather than let older clips go for pixels
    // about to shrink, the compression is awaited first, and only when the history would be over budget.
    std::vector<std::size_t> over = clips::ClipsToEvict(ClipBytesOldestFirst(), MustStayOldestFirst(), gBudget);
    if (!over.empty() && clips::Holders().Pictures().Compressing()) {
        clips::Holders().Pictures().FinishCompressing();
        over = clips::ClipsToEvict(ClipBytesOldestFirst(), MustStayOldestFirst(), gBudget);
    }
    // Newest first, so that the positions still to go stay where they were. A clip its file holds whole
    // only goes back to the disk, pinned or not; the others go.
    for (auto it = over.rbegin(); it != over.rend(); ++it)
        if (!UnloadClip(clips::ClipTags().Tag(int(*it)))) clips::RemoveClip(int(*it));
}

}  // namespace history
