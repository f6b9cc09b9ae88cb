// A history folder's local index: the clips the store listed, in their order, with what listing the folder
// reads of each file (its size, time of last change and header) and what search reads of it when the store had
// it (so that a search after start reads no clip file). It is kept in this user's local application
// data, never in the folder itself (another machine's index would say nothing true of this one's files), in
// blocks of clips sealed one by one with the folder's key, the newest first: start-up lists the newest block
// without opening a clip file and the others behind it. The files stay the truth: the folder's first listing
// after start brings the list in step, and an index missing, damaged, or of another folder or key is made
// again from the files. Portable.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Sealer.h"
#include "history/HistoryFolder.h"
#include "history/StoredSearchTexts.h"

namespace history {

// An index bigger than this is no index of ours (a million clips with labels of 1 KB fit).
const std::uint64_t kMostIndexBytes = 1ull << 30;
const std::size_t kIndexBlockClips = 2000;
// The newest block is smaller: start-up waits for it alone, and it need hold little more than a window of rows.
const std::size_t kNewestIndexBlockClips = 250;

struct IndexedClip {
    StoredClip clip;
    std::filesystem::file_time_type written;  // min(): not known (the file is read again by the next listing)
    std::optional<StoredSearchText> search;    // its plain text (no markup), of the clip's kind
};
struct IndexedFolder {
    std::vector<IndexedClip> clips;  // oldest first
    int damaged = 0;   // what the listing skipped, said again at start
    int unsealed = 0;
};

// Written whole or not at all; false when it cannot be (the index is only a cache: nothing is lost).
bool SaveFolderIndex(const std::filesystem::path& index, const std::filesystem::path& folder,
                     const IndexedFolder& indexed, const common::Sealer& sealer);

// An index file read, its blocks opened one at a time. Nothing is believed that is not sealed with this key
// for this folder, in its place among the blocks.
class FolderIndexBlocks {
public:
    // False when the file is missing or not laid out as an index; each block is checked as it is opened (one not
    // sealed with this key, for this folder, in its place, opens to nothing).
    bool Read(const std::filesystem::path& index, const std::filesystem::path& folder,
              std::shared_ptr<const common::Sealer> sealer);
    std::size_t Count() const { return count_; }
    // As the newest block says, once opened.
    int Damaged() const { return damaged_; }
    int Unsealed() const { return unsealed_; }
    // Block 0 holds the newest clips; each block's clips oldest first. Nothing when the block is damaged, or the
    // file changed since Read. Not to be asked from two threads at once.
    std::optional<std::vector<IndexedClip>> Block(std::size_t n) const;

private:
    bool ReadAll() const;  // the older blocks, once asked for
    bool Forget() const;   // false, the blocks dropped
    std::filesystem::path file_, folder_;
    std::shared_ptr<const common::Sealer> sealer_;
    std::size_t count_ = 0;
    mutable bool broken_ = false;
    mutable std::string bytes_;
    mutable std::vector<std::pair<std::size_t, std::size_t>> blocks_;  // where each sealed block read lies in bytes_
    mutable int damaged_ = 0, unsealed_ = 0;
    bool withSearch_ = true;
};

// The index's file for a folder, in `indexes` (one file per folder, named by a digest of its path).
std::filesystem::path FolderIndexFile(const std::filesystem::path& indexes, const std::filesystem::path& folder);

}  // namespace history
