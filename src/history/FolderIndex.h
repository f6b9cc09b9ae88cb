// A history folder's local index: what listing the folder reads of each clip file (its size, time of last
// change and header), kept sealed with the folder's key in this user's local application data, never in the
// folder itself (another machine's index would say nothing true of this one's files). Start-up lists the
// clips from it without opening a clip file; the files stay the truth: the folder's first listing after start
// brings the list in step, and an index missing, damaged, or of another folder or key is made again from the
// files. Portable.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "common/Sealer.h"
#include "history/HistoryFolder.h"

namespace history {

// An index bigger than this is no index of ours (a million clips with labels of 1 KB fit).
const std::uint64_t kMostIndexBytes = 1ull << 30;

// The index's bytes before sealing, and back (its files in `folder`); nothing from bytes that are not a whole index.
std::string EncodeFolderIndex(const HeaderCache& cache);
std::optional<HeaderCache> DecodeFolderIndex(const std::string& bytes, const std::filesystem::path& folder);

// Written whole or not at all; false when it cannot be (the index is only a cache: nothing is lost).
bool SaveFolderIndex(const std::filesystem::path& index, const std::filesystem::path& folder, const HeaderCache& cache,
                     const common::Sealer& sealer);
// Nothing when the file is missing, damaged, not sealed with this key, or another folder's.
std::optional<HeaderCache> LoadFolderIndex(const std::filesystem::path& index, const std::filesystem::path& folder,
                                           const common::Sealer& sealer);

// The index's file for a folder, in `indexes` (one file per folder, named by a digest of its path).
std::filesystem::path FolderIndexFile(const std::filesystem::path& indexes, const std::filesystem::path& folder);

}  // namespace history
