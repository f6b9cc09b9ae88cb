#include "history/FolderMerge.h"

#include <algorithm>
#include <iterator>

namespace history {

FolderChanges ChangesBetween(const std::vector<KnownClip>& known, const HistoryListing& listing,
                             const std::set<ClipFileId>& deletedHere) {
    // Sorted vectors, not maps: a long history's listing would leave a hundred thousand small blocks behind.
    FolderChanges changes;
    std::vector<const KnownClip*> byId;
    byId.reserve(known.size());
    for (const KnownClip& clip : known) byId.push_back(&clip);
    std::stable_sort(byId.begin(), byId.end(), [](const KnownClip* a, const KnownClip* b) { return a->id < b->id; });
    std::vector<ClipFileId> listed;
    listed.reserve(listing.clips.size());
    for (const StoredClip& clip : listing.clips) {
        listed.push_back(clip.id);
        // The last of equal ids, as a map filled in order would keep.
        const auto it = std::upper_bound(byId.begin(), byId.end(), clip.id,
                                         [](const ClipFileId& id, const KnownClip* known) { return id < known->id; });
        const KnownClip* match = it == byId.begin() || !((*std::prev(it))->id == clip.id) ? nullptr : *std::prev(it);
        if (!match) {
            if (!deletedHere.count(clip.id)) changes.added.push_back(clip);
        } else if (match->settled && match->pinned != clip.header.pinned) {
            // A pin set here and not yet written is newer than what a listing begun before it shows.
            changes.repinned.push_back({clip.id, clip.header.pinned});
        }
    }
    std::sort(listed.begin(), listed.end());
    for (const KnownClip& clip : known)
        if (clip.settled && !std::binary_search(listed.begin(), listed.end(), clip.id))
            changes.removed.push_back(clip.id);
    return changes;
}

}  // namespace history
