#include "history/StoredSearchTexts.h"

#include <algorithm>
#include <memory>

namespace history {

void StoredSearchTexts::ReadAhead(FilesToRead newestFirst, SearchTextReader read) {
    Stop();
    stopping_ = false;
    // A few threads at once, as opening a file is most of the cost and it waits; newest first all the same.
    const std::size_t threads = std::min<std::size_t>(4, newestFirst.size() / 64 + 1);
    auto files = std::make_shared<const FilesToRead>(std::move(newestFirst));
    readersRunning_ = int(threads);
    for (std::size_t t = 0; t < threads; ++t)
        readers_.emplace_back([this, files, read, t, threads] {
            struct Ending {
                std::atomic<int>& running;
                ~Ending() { --running; }
            } ending{readersRunning_};
            for (std::size_t n = t; n < files->size(); n += threads) {
                const auto& [id, file] = (*files)[n];
                if (stopping_ || Bytes() >= budget_) return;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    if (kept_.count(id)) continue;  // from the folder's index
                }
                StoredSearchText text;
                // A damaged file is told when its clip is used.
                if (read(std::filesystem::path(file), text)) Offer(id, std::move(text));
            }
        });
}

bool StoredSearchTexts::Has(const ClipFileId& id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return kept_.count(id) > 0;
}

void StoredSearchTexts::Stop() {
    stopping_ = true;
    for (std::thread& reader : readers_) reader.join();
    readers_.clear();
}

bool StoredSearchTexts::Find(const ClipFileId& id, StoredSearchText& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = kept_.find(id);
    if (it == kept_.end()) return false;
    it->second.used = ++uses_;
    text = it->second.text;
    return true;
}

void StoredSearchTexts::Keep(const ClipFileId& id, StoredSearchText text) {
    std::lock_guard<std::mutex> lock(mutex_);
    KeepLocked(id, std::move(text));
}

// Never pushes out what was asked for.
void StoredSearchTexts::Offer(const ClipFileId& id, StoredSearchText text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (kept_.count(id) == 0 && bytes_ + BytesOf(text) <= budget_) KeepLocked(id, std::move(text));
}

void StoredSearchTexts::KeepLocked(const ClipFileId& id, StoredSearchText text) {
    const auto old = kept_.find(id);
    if (old != kept_.end()) EraseLocked(old);
    const std::uint64_t bytes = BytesOf(text);
    if (bytes > budget_) return;  // larger than the budget alone: read each time it is asked for
    if (bytes_ + bytes > budget_) MakeRoomLocked(bytes);
    kept_.emplace(id, Kept{std::move(text), ++uses_});
    bytes_ += bytes;
}

// The least recently used go, an eighth of what is kept at least: finding them takes a pass over all, and a list
// in the order of use would cost a node more for each of a long history's clips.
void StoredSearchTexts::MakeRoomLocked(std::uint64_t bytes) {
    std::vector<std::pair<std::uint64_t, ClipFileId>> byUse;
    byUse.reserve(kept_.size());
    for (const auto& [id, kept] : kept_) byUse.emplace_back(kept.used, id);
    std::sort(byUse.begin(), byUse.end());
    std::size_t gone = 0;
    for (const auto& [used, id] : byUse) {
        if (bytes_ + bytes <= budget_ && gone >= byUse.size() / 8) break;
        EraseLocked(kept_.find(id));
        ++gone;
    }
}

void StoredSearchTexts::EraseLocked(std::map<ClipFileId, Kept>::iterator it) {
    bytes_ -= BytesOf(it->second.text);
    kept_.erase(it);
}

void StoredSearchTexts::Forget(const ClipFileId& id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = kept_.find(id);
    if (it != kept_.end()) EraseLocked(it);
}

void StoredSearchTexts::Clear() {
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    kept_.clear();
    bytes_ = 0;
}

std::uint64_t StoredSearchTexts::Bytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bytes_;
}

}  // namespace history
