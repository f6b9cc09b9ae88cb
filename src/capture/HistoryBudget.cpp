#include "capture/HistoryBudget.h"

#include <vector>

#include "capture/ClipLimits.h"
#include "capture/mClip.h"
#include "cliplist/ucClipList.h"

namespace capture {

namespace {

std::uint64_t gBudget = kDefaultHistoryBudget;

std::vector<std::uint64_t> ClipBytesOldestFirst() {
    std::vector<std::uint64_t> sizes;
    CaptureHost* host = Host();
    if (!host) return sizes;
    const int count = host->ClipList().Model().ListCount();
    for (int position = 0; position < count; ++position) {
        const std::string tag = ClipTags().Tag(position);
        sizes.push_back(Holders().HeldBytes(FamilyOfKind(TagKind(tag)), TagHolderIndex(tag)));
    }
    return sizes;
}

std::vector<bool> PinnedOldestFirst() {
    std::vector<bool> pinned;
    if (CaptureHost* host = Host())
        for (int position = 0; position < host->ClipList().Model().ListCount(); ++position)
            pinned.push_back(host->ClipList().Model().ItemPinned(position));
    return pinned;
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
    std::vector<std::size_t> over = ClipsToEvict(ClipBytesOldestFirst(), PinnedOldestFirst(), gBudget);
    if (!over.empty() && Holders().Pictures().Compressing()) {
        Holders().Pictures().FinishCompressing();
        over = ClipsToEvict(ClipBytesOldestFirst(), PinnedOldestFirst(), gBudget);
    }
    // Newest first, so that the positions still to go stay where they were.
    for (auto it = over.rbegin(); it != over.rend(); ++it) RemoveClip(int(*it));
}

}  // namespace capture
