// The rules by which a history folder that other machines write too (through a file-sync service) is
// merged into the history shown: what the folder now lists against what this machine knows of it.
// Portable: nothing here reads files or needs Win32.
#pragma once

#include <set>
#include <utility>
#include <vector>

#include "history/HistoryFolder.h"

namespace history {

// A clip this machine lists, by its file's id. Settled when its file was on the disk before the folder
// was listed: a file still being written here is not missing from the folder, only not there yet.
struct KnownClip {
    ClipFileId id;
    bool pinned = false;
    bool settled = true;
};

struct FolderChanges {
    std::vector<StoredClip> added;                   // oldest first
    std::vector<ClipFileId> removed;
    std::vector<std::pair<ClipFileId, bool>> repinned;  // and whether pinned now
    bool Empty() const { return added.empty() && removed.empty() && repinned.empty(); }
};

// What changed: a clip listed that this machine does not know is added, unless this machine deleted its
// file (the deletion has not reached the listing yet); a settled clip the folder no longer lists (deleted
// on another machine, or the same copy captured later there) is removed; a pin set or cleared elsewhere
// is set or cleared here, on a settled clip only (a pin changed here and still being written stays).
FolderChanges ChangesBetween(const std::vector<KnownClip>& known, const HistoryListing& listing,
                             const std::set<ClipFileId>& deletedHere);

}  // namespace history
