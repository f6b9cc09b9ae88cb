// The folder's clip files by content, for deleting older copies of a clip without listing the folder each time.
#include "history/HistoryFolder.h"

#include <chrono>

namespace history {

void CopyIndex::List(const std::filesystem::path& folder) {
    folder_ = folder;
    byContent_.clear();
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        Written(it->path());
    listed_ = std::chrono::steady_clock::now();
}

void CopyIndex::Written(const std::filesystem::path& file) {
    bool exact = false;
    if (const auto id = ParseClipFileName(NameOf(file).value_or(""), exact)) byContent_.emplace(id->content, file);
}

void CopyIndex::Removed(const std::filesystem::path& file) {
    bool exact = false;
    const auto id = ParseClipFileName(NameOf(file).value_or(""), exact);
    if (!id) return;
    const auto [first, last] = byContent_.equal_range(id->content);
    for (auto it = first; it != last; ++it)
        if (it->second == file.native()) {
            byContent_.erase(it);
            return;
        }
}

std::vector<std::filesystem::path> CopyIndex::CopiesOf(const std::filesystem::path& file, std::uint64_t content) {
    // Other machines add copies too: a listing older than a few seconds is made again.
    if (folder_ != file.parent_path() || std::chrono::steady_clock::now() - listed_ > std::chrono::seconds(5))
        List(file.parent_path());
    std::vector<std::filesystem::path> copies;
    const auto [first, last] = byContent_.equal_range(content);
    for (auto it = first; it != last; ++it) copies.push_back(it->second);
    return copies;
}

}  // namespace history
