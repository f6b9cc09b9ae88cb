#include "history/FolderMerge.h"

#include <map>

namespace history {

FolderChanges ChangesBetween(const std::vector<KnownClip>& known, const HistoryListing& listing,
                             const std::set<ClipFileId>& deletedHere) {
    FolderChanges changes;
    std::map<ClipFileId, const KnownClip*> byId;
    for (const KnownClip& clip : known) byId[clip.id] = &clip;
    std::set<ClipFileId> listed;
    for (const StoredClip& clip : listing.clips) {
        listed.insert(clip.id);
        const auto it = byId.find(clip.id);
        if (it == byId.end()) {
            if (!deletedHere.count(clip.id)) changes.added.push_back(clip);
        } else if (it->second->settled && it->second->pinned != clip.header.pinned) {
            // A pin set here and not yet written is newer than what a listing begun before it shows.
            changes.repinned.push_back({clip.id, clip.header.pinned});
        }
    }
    for (const KnownClip& clip : known)
        if (clip.settled && !listed.count(clip.id)) changes.removed.push_back(clip.id);
    return changes;
}

}  // namespace history
