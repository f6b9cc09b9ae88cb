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
    // The last first, so that the others stay where they were found; painted once.
    cliplist::ClipListControl::PaintHold hold(clips_.Host()->ClipList());
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        state_.entries.erase(KeyOf(clips_.Tags().Tag(*it)));  // its file is gone, or is another machine's to keep
        clips_.Remove(*it);
    }
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

void HistoryStore::AddClipFromElsewhere(const StoredClip& stored, std::vector<std::uint64_t>& times) {
    const std::size_t place = PlaceByTime(times, stored.id.capturedAtMs);
    const clips::ClipId tag = InsertListedClip(stored.header, int(place));
    if (tag.empty()) return;
    NoteRestoredClip(tag, stored);
    times.insert(times.begin() + std::ptrdiff_t(place), stored.id.capturedAtMs);
}

void HistoryStore::SetPinFromElsewhere(const ClipFileId& id, bool pinned) {
    const int position = PositionOfStored(id);
    if (position >= 0) clips_.Host()->ClipList().Model().SetItemPinned(position, pinned);
}

}  // namespace history
