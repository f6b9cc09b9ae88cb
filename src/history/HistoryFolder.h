// The history folder on disk: one clip file per clip, written whole or not at all, listed in the order
// the clips were captured, and trimmed to the limits the settings give. Portable: the paths are
// std::filesystem paths (UTF-16 on Windows), and nothing here needs Win32.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Sealer.h"
#include "history/ClipFile.h"
#include "history/DiskFiles.h"

namespace history {

// What a clip file's name says: when the clip was captured (sortable), on which machine, and what it
// holds (a hash of its formats, not of its header: written again pinned, it keeps its name). Each machine
// writes only names it alone can make, so machines that share the folder never write the same file.
struct ClipFileId {
    std::uint64_t capturedAtMs = 0;
    std::uint32_t machine = 0;
    std::uint64_t content = 0;
    bool operator==(const ClipFileId& o) const {
        return capturedAtMs == o.capturedAtMs && machine == o.machine && content == o.content;
    }
    bool operator<(const ClipFileId& o) const {
        if (capturedAtMs != o.capturedAtMs) return capturedAtMs < o.capturedAtMs;
        return machine != o.machine ? machine < o.machine : content < o.content;
    }
};
// "<13-digit time>-<8-hex machine>-<16-hex content>.clip". Temporary files end otherwise and are never listed.
std::string ClipFileName(const ClipFileId& id);
// folder / ClipFileName(id) as a plain string, made without a path's parts: Delete All asks for thousands at once.
std::filesystem::path::string_type ClipFilePathText(const std::filesystem::path& folder, const ClipFileId& id);
bool IsClipFileName(const std::string& name);
// The id a clip file's name starts with. A file-sync service's second copy of a file ("<name> (conflicted
// copy).clip", "<name>.sync-conflict-….clip") starts the same way and is no exact name. Names of the
// first version (time and a 16-hex hash) read as machine 0.
std::optional<ClipFileId> ParseClipFileName(const std::string& name, bool& exact);

// Deletes what a write cut short by a crash left in the folder: this machine's unfinished files (a sync
// service would carry them everywhere). Another machine's may be under way. Returns how many went.
int RemoveUnfinishedFiles(const std::filesystem::path& folder, std::uint32_t machine);
struct StoredClip {
    // The file's path when its name is not the one its id gives (a sync service's conflict copy, a name of
    // someone else's making); empty for a file named by its id in the folder listed: a long history's paths
    // would take many megabytes.
    std::filesystem::path::string_type otherFile;
    ClipFileHeader header;
    std::uint64_t bytes = 0;
    ClipFileId id;
    std::filesystem::path File(const std::filesystem::path& folder) const;
    std::string Name() const;  // UTF-8; "" for a name that is no Unicode
};

// What the folder holds, oldest first (by capture time, then name), read through the history's sealer.
// Files that are not whole clip files of ours (cut short, damaged, newer, another program's) are counted in
// damaged, files not sealed with the history's key (plain, planted, another history's) in unsealed; both
// are left where they are.
// Of several files with one id (a sync service's conflict copies) the exact name is listed; of several
// clips with one content (the same copy captured on two machines) the newest, pinned when any of them is:
// the others are in hidden. A file cut short that was written to in the last minutes is one a sync
// service is still bringing: counted in arriving, not damaged.
struct HistoryListing {
    std::vector<StoredClip> clips;
    std::vector<StoredClip> hidden;
    int damaged = 0;
    int unsealed = 0;
    int arriving = 0;
    bool partial = false;  // only the newest files were listed
};
// Headers an earlier listing read: a whole file whose size and time of last change are as they were is
// not opened again, so that listing a large history after each change reads only what changed. Kept by
// one lister (a thread) at a time. A long history's worth: kept in two large blocks, not a block a file.
class HeaderCache {
public:
    struct Known {
        std::uint64_t bytes = 0;
        std::filesystem::file_time_type written;
        ClipFileHeader header;
    };
    // What was put for this file (named by clip.id, or clip.otherFile); nothing when nothing was.
    std::optional<Known> Find(const StoredClip& clip) const;
    // A header of a kind not known is not kept.
    void Put(const StoredClip& clip, std::filesystem::file_time_type written);
    void Clear();
    // Once all is put: sorted, and no room kept for more.
    void Settle();
    std::size_t Count() const { return records_.size(); }
    // What the listing that made it skipped: files not whole, and files not sealed with the history's key.
    int damaged = 0;
    int unsealed = 0;

private:
    struct Record {
        ClipFileId key;  // the id the name gives; none for a name that gives none
        std::uint64_t bytes = 0;
        std::filesystem::file_time_type::rep written = 0;
        std::uint64_t capturedAtMs = 0;
        std::uint32_t textAt = 0;  // in texts_: the label, then the name when it is not the id's
        std::uint16_t labelBytes = 0, nameBytes = 0;
        std::uint8_t kind = 0;
        bool pinned = false;
    };
    std::string_view NameOf(const Record& record) const;
    bool Before(const Record& a, const ClipFileId& key, std::string_view name) const;
    void Sort() const;
    mutable std::vector<Record> records_;
    mutable bool sorted_ = true;
    std::string texts_;
};
// newest, when not 0: only as many files are opened, the newest by their names (a first start lists those
// at once, and the others behind them).
HistoryListing ListHistoryFolder(const std::filesystem::path& folder, const common::Sealer& sealer,
                                 HeaderCache* cache = nullptr, std::size_t newest = 0);
// Deletes the other files of a clip file's content captured no later than it (a sync service's conflict
// copies, the same copy captured earlier on another machine), so that a clip deleted, pinned or unpinned
// here does not come back from one of them. Another machine's pinned copy stays. The file itself is left as
// it is.
// index, when given, spares a listing of the whole folder for each file (thousands of deletes at once).
class CopyIndex;
// deleting, when given, is told of each file before it is deleted.
void RemoveOlderCopies(const std::filesystem::path& file, const common::Sealer& sealer, CopyIndex* index = nullptr,
                       const std::function<void(const std::filesystem::path&)>& deleting = nullptr);

// The folder's clip files by the content their names give: listed once, kept up to date with one writer's own
// writes and deletes, and listed again when a few seconds old, as other machines add copies too.
class CopyIndex {
public:
    void Written(const std::filesystem::path& file);
    void Removed(const std::filesystem::path& file);
    std::vector<std::filesystem::path> CopiesOf(const std::filesystem::path& file, std::uint64_t content);

private:
    void List(const std::filesystem::path& folder);
    std::filesystem::path folder_;
    std::chrono::steady_clock::time_point listed_;
    std::multimap<std::uint64_t, std::filesystem::path::string_type> byContent_;
};
// "1 damaged clip file skipped; 3 clip files not sealed with this history's key skipped"; "" for none.
std::string SkippedFilesLine(int damaged, int unsealed);

// Seals clip files again with the folder's key, in place: each file that `reader` opens is written sealed under
// its keyed name, then deleted. A file that cannot be sealed again stays as it was.
struct ClipFileReader {
    std::function<bool(const std::string& leading)> mayOpen;  // from the file's first kClipFileHeaderRead bytes
    std::function<std::optional<ClipFileContents>(const std::string& whole)> open;
};
struct FilesSealedAgain {
    int sealed = 0;
    int failed = 0;
};
FilesSealedAgain SealFilesAgain(const std::filesystem::path& folder, const common::Sealer& sealer,
                                const ClipFileReader& reader);
// The first version's plain files, once, when the folder gets its key.
FilesSealedAgain SealPlainFiles(const std::filesystem::path& folder, const common::Sealer& sealer);
// Files sealed with other keys this user holds: two machines that made a key for one folder at once each
// sealed clips with their own, and one key file stays; the other key's clips join the folder's key.
FilesSealedAgain SealFilesOfOtherKeys(const std::filesystem::path& folder, const common::Sealer& sealer,
                                      const std::vector<std::shared_ptr<const common::Sealer>>& others);

// A file's name as UTF-8; nothing for one that is no Unicode (a lone surrogate), which is none of ours.
std::optional<std::string> NameOf(const std::filesystem::path& file);
// The clip files of a folder by name (none read); error says when the folder could not be listed whole.
std::vector<std::filesystem::path> ClipFilesIn(const std::filesystem::path& folder, std::error_code& error);
// A clip captured more than a day from now is a clock gone wrong or a file made to stay on top for good.
bool FromTheFuture(std::uint64_t capturedAtMs);

// Where a clip captured at this time goes among clips listed in capture order (times oldest first): after
// every clip captured at or before it.
std::size_t PlaceByTime(const std::vector<std::uint64_t>& capturedAtMs, std::uint64_t at);

// How much the history keeps: "History Size" clips (1 to 100,000; 25 unless set) and "History Disk MB"
// (1 to 1,048,576; 1,024 unless set). A value set but not understood (a word, a leading space, out of range,
// another type of value) must not delete clips: it limits nothing, and is named for the information line.
struct HistoryLimits {
    std::size_t clips = 25;
    std::uint64_t diskBytes = 1024ull << 20;
    bool sizeUnderstood = true, diskUnderstood = true;
};
// nullopt: the setting is not there.
HistoryLimits HistoryLimitsFromSettings(const std::optional<std::string>& size,
                                        const std::optional<std::string>& diskMegabytes);

// Which of the clips (oldest first) must go for the rest to fit the limits: the oldest unpinned first.
// Pinned clips never go, even when they alone pass a limit.
std::vector<std::size_t> ClipsToRemove(const std::vector<StoredClip>& oldestFirst, const HistoryLimits& limits);

}  // namespace history
