// What the history store knows of its clips and its folder: the store's own data, read by no one else.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "clips/ClipLimits.h"
#include "history/DiskWorker.h"
#include "history/HistoryFolder.h"
#include "history/StoredSearchTexts.h"

namespace history {

// A path most clips never have (a file being replaced, a conflict copy's name): empty, it takes one pointer.
class RarePath {
public:
    using String = std::filesystem::path::string_type;
    RarePath() = default;
    RarePath(const RarePath& o) : path_(o.path_ ? std::make_unique<String>(*o.path_) : nullptr) {}
    RarePath(RarePath&&) = default;
    RarePath& operator=(const RarePath& o) { return *this = RarePath(o); }
    RarePath& operator=(RarePath&&) = default;
    RarePath& operator=(const String& path) {
        path_ = path.empty() ? nullptr : std::make_unique<String>(path);
        return *this;
    }
    bool empty() const { return !path_; }
    void clear() { path_.reset(); }
    const String& native() const {
        static const String none;
        return path_ ? *path_ : none;
    }
    operator std::filesystem::path() const { return native(); }
    bool operator!=(const String& o) const { return native() != o; }

private:
    std::unique_ptr<String> path_;
};

// Where a live clip's file is. Most are named by their id in the history's folder and keep no path: a long
// history's paths would take many megabytes. Another name (a sync service's conflict copy) is kept whole.
class EntryFile {
public:
    bool empty() const { return !present_; }
    void clear() {
        present_ = false;
        other_.clear();
    }
    void Set(const std::filesystem::path& file, const std::filesystem::path& folder, const ClipFileId& id) {
        present_ = true;
        other_.clear();
        if (file != std::filesystem::path(ClipFilePathText(folder, id))) other_ = file.native();
    }
    void Set(const StoredClip& listed) {
        present_ = true;
        other_ = listed.otherFile;
    }
    const RarePath::String& Other() const { return other_.native(); }
    std::filesystem::path Path(const std::filesystem::path& folder, const ClipFileId& id) const {
        if (!present_) return {};
        return std::filesystem::path(other_.empty() ? ClipFilePathText(folder, id) : other_.native());
    }

private:
    bool present_ = false;
    RarePath other_;
};

// What the store knows of a live clip: when it was captured, and its file once written. A file written
// anew (pinned, made newest) replaces the previous one only once it is on the disk. Small: a long history
// has one for each clip.
struct Entry {
    clips::ClipId tag;
    std::uint64_t capturedAtMs = 0;
    EntryFile file;  // named by id
    std::uint64_t fileBytes = 0;
    RarePath previous;
    RarePath replaced;  // the file its write replaces, deleted once that write is confirmed
    ClipFileId id;
    std::uint64_t writeJob = 0;  // the disk worker's number for the write of its file; 0 for a file found at start
    bool queued = false;
    bool written = true;  // the worker said its file is whole in place (or it was found there at start)
    bool unwritten = false;  // its write failed: written again once the folder can be
    bool loaded = true;  // its holder holds it; a clip listed from its file's header is read when used
    bool labelChecked = false;  // its label made from what its file holds, once search has read it
    bool thisMachineOnly = false;  // its program let it be kept but not leave this machine
    bool memoryOnly = false;  // looks like a credential: never written while so
};

using EntryKey = std::pair<clips::HolderFamily, clips::HolderIndex>;

struct HistoryStoreState {
    std::filesystem::path folder;
    std::shared_ptr<const common::Sealer> sealer;  // the folder's key: every file is read and written through it
    bool open = false;
    bool remember = true;
    bool folderShared = false;
    std::uint32_t machine = 0;
    std::uint64_t diskBytes = HistoryLimits{}.diskBytes;
    DiskWorker worker;
    std::map<EntryKey, Entry> entries;
    std::set<ClipFileId> deletedHere;  // files this machine deleted: a listing may still show them
    bool keepingFiles = false;  // a holder let go to free memory: its clip stays, and so does its file
    HWND window = nullptr;  // receives the timers that write and that try the folder again
    bool folderFailing = false;  // said once on the information line until a write succeeds again
    std::set<std::filesystem::path> undeleted;  // files a delete failed on: tried again with the failed writes
    StoredSearchTexts searchTexts;
    std::filesystem::path indexFile;  // the folder's index, in this user's local application data
    HeaderCache indexed;  // what the index held at start, then the watcher's last listing: the next index's times
    int trimming = 0;  // TrimScopes alive
    int removingMany = 0;  // ManyRemovals alive
    std::vector<ClipFileId> deletesNamed;  // files named by id to delete once no ManyRemovals lives
};
EntryKey KeyOf(const clips::ClipId& tag);
bool OnDisk(const Entry& entry);

}  // namespace history
