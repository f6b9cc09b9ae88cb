// The store and the folder's index: start-up lists the clips from it, and the store writes it again from the
// clips it lists when it closes (after the conversion of a folder without one, too).
#include "history/FolderIndex.h"
#include "history/HistoryStore.h"

#include "cliplist/ClipListControl.h"

namespace history {

std::filesystem::path IndexFileOf(const std::filesystem::path& folder) {
    return FolderIndexFile(DefaultHistoryFolder().parent_path() / L"Index", folder);
}

void ForgetFolderIndex(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::remove(IndexFileOf(folder), ignored);
}

HistoryListing HistoryStore::ListAtStart(bool fromFiles) {
    if (!fromFiles) {
        if (auto index = LoadFolderIndex(state_.indexFile, Folder(), *state_.sealer)) {
            state_.indexed = std::move(*index);
            inStep_ = false;
            skippedAtStart_ = {state_.indexed.damaged, state_.indexed.unsealed};
            return ListFromHeaders(state_.indexed, *state_.sealer);
        }
    }
    inStep_ = true;
    state_.indexed = {};
    return ListHistoryFolder(Folder(), *state_.sealer, &state_.indexed);
}

void HistoryStore::StopSync() {
    if (!watcher_.Running()) return;
    watcher_.Stop();
    state_.indexed = watcher_.TakeHeaders();
}

void HistoryStore::SaveIndex() {
    if (!state_.open || !clips_.Host() || state_.indexFile.empty()) return;
    const auto& list = clips_.Host()->ClipList().Model();
    HeaderCache index;
    index.damaged = state_.indexed.damaged;
    index.unsealed = state_.indexed.unsealed;
    for (int position = 0; position < list.ListCount(); ++position) {
        const clips::ClipId& tag = clips_.Tags().Tag(position);
        const auto it = state_.entries.find(KeyOf(tag));
        if (it == state_.entries.end() || !OnDisk(it->second)) continue;
        const Entry& entry = it->second;
        HeaderCache::Known known;
        known.bytes = entry.fileBytes;
        known.header = {tag.kind, entry.capturedAtMs, list.ItemPinned(position), list.ItemText(position),
                        entry.fileBytes};
        // A file a listing saw as it is now keeps its time: the next start's listing does not open it again.
        // One written since is opened once more.
        known.written = std::filesystem::file_time_type::min();
        const auto seen = state_.indexed.files.find(entry.file);
        if (seen != state_.indexed.files.end() && seen->second.bytes == entry.fileBytes &&
            seen->second.header.pinned == known.header.pinned) {
            known.written = seen->second.written;
            known.header.capturedAtMs = seen->second.header.capturedAtMs;
        }
        index.files[entry.file] = std::move(known);
    }
    SaveFolderIndex(state_.indexFile, Folder(), index, *state_.sealer);
}

}  // namespace history
