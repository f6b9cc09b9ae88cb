// The store as the folder's watcher sees it, and what another machine did in the folder.
#include "history/HistoryStore.h"

#include "history/HistoryStoreFiles.h"
#include "cliplist/ClipListControl.h"

namespace history {

std::vector<StoredClipState> HistoryStore::StoredClipStates(std::uint64_t writesDoneBefore) {
    std::vector<StoredClipState> states;
    const auto& list = clips_.Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount(); ++position) {
        const auto it = state_.entries.find(KeyOf(clips_.Tags().Tag(position)));
        if (it == state_.entries.end()) continue;
        const Entry& entry = it->second;
        // Not on the disk: no other machine sees it. A file about to be written again still names the clip.
        if (entry.file.empty() && entry.previous.empty()) continue;
        const bool settled = !entry.queued && entry.written && entry.writeJob <= writesDoneBefore;
        states.push_back({entry.id, position, list.ItemPinned(position), settled});
    }
    return states;
}

int HistoryStore::PositionOfStored(const ClipFileId& id) {
    for (const auto& [key, entry] : state_.entries)
        if (!entry.file.empty() && entry.id == id) return PositionOf(entry.tag);
    return -1;
}

void HistoryStore::RemoveClipsDeletedElsewhere(const std::vector<ClipFileId>& ids) {
    if (ids.empty()) return;
    const std::set<ClipFileId> gone(ids.begin(), ids.end());
    std::vector<int> positions;
    for (int position = 0; position < clips_.Count(); ++position) {
        const auto it = state_.entries.find(KeyOf(clips_.Tags().Tag(position)));
        if (it != state_.entries.end() && !it->second.file.empty() && gone.count(it->second.id))
            positions.push_back(position);
    }
    // Its file is gone, or is another machine's to keep.
    for (int position : positions) state_.entries.erase(KeyOf(clips_.Tags().Tag(position)));
    clips_.RemoveMany(positions);
}

std::vector<std::uint64_t> HistoryStore::ListedTimes() const {
    std::vector<std::uint64_t> times;
    const auto& list = clips_.Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount(); ++position) {
        const auto it = state_.entries.find(KeyOf(clips_.Tags().Tag(position)));
        times.push_back(it != state_.entries.end() ? it->second.capturedAtMs : times.empty() ? 0 : times.back());
    }
    return times;
}

// Thousands may come at once to a long history (a folder another machine filled, or the files of a first start
// listed behind its newest): each run of clips that goes to one place is inserted at once, the last place first
// so that the places before it stay where they were.
void HistoryStore::AddClipsFromElsewhere(std::vector<StoredClip> added) {
    if (added.empty()) return;
    std::stable_sort(added.begin(), added.end(),
                     [](const StoredClip& a, const StoredClip& b) { return a.id.capturedAtMs < b.id.capturedAtMs; });
    const std::vector<std::uint64_t> times = ListedTimes();
    std::vector<std::size_t> places;
    for (const StoredClip& clip : added) places.push_back(PlaceByTime(times, clip.id.capturedAtMs));
    for (std::size_t end = added.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && places[begin - 1] == places[end - 1]) --begin;
        std::vector<const StoredClip*> run;
        for (std::size_t i = begin; i < end; ++i) run.push_back(&added[i]);
        InsertListedClips(int(places[begin]), run);
        end = begin;
    }
}

void HistoryStore::SetPinFromElsewhere(const ClipFileId& id, bool pinned) {
    const int position = PositionOfStored(id);
    if (position >= 0) clips_.Host()->ClipList().Model().SetItemPinned(position, pinned);
}

}  // namespace history
