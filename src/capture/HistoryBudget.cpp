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
    std::size_t over = OldestToEvict(ClipBytesOldestFirst(), gBudget);
    if (over > 0 && Holders().Pictures().Compressing()) {
        Holders().Pictures().FinishCompressing();
        over = OldestToEvict(ClipBytesOldestFirst(), gBudget);
    }
    for (; over > 0; --over) RemoveOldestClip();
}

}  // namespace capture
