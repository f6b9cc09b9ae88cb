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
                StoredSearchTexts& texts;
                ~Ending() {
                    if (--texts.readersRunning_ == 0) texts.Settle();
                }
            } ending{*this};
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
    Kept& kept = it->second;
    kept.used = ++uses_;
    text.kind.assign(texts_, kept.at, kept.kindBytes);
    text.text.assign(texts_, kept.at + kept.kindBytes, kept.textBytes);
    text.markup.assign(texts_, kept.at + kept.kindBytes + kept.textBytes, kept.markupBytes);
    text.width = kept.width;
    text.height = kept.height;
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
    // Larger than the budget alone: read each time it is asked for. No kind of ours is long.
    if (bytes > budget_ || text.kind.size() > 0xFF) return;
    if (bytes_ + bytes > budget_) MakeRoomLocked(bytes);
    Kept kept;
    kept.used = ++uses_;
    kept.at = std::uint32_t(texts_.size());
    kept.kindBytes = std::uint8_t(text.kind.size());
    kept.textBytes = std::uint32_t(text.text.size());
    kept.markupBytes = std::uint32_t(text.markup.size());
    kept.width = text.width;
    kept.height = text.height;
    texts_ += text.kind;
    texts_ += text.text;
    texts_ += text.markup;
    kept_.emplace(id, kept);
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
    bytes_ -= BytesOf(it->second);
    gaps_ += it->second.Span();
    kept_.erase(it);
    if (!packingHeld_ && gaps_ > (texts_.size() - gaps_) / 4 + (1u << 20)) CompactLocked();
}

void StoredSearchTexts::CompactLocked() {
    std::string compact;
    compact.reserve(texts_.size() - gaps_);
    for (auto& [id, kept] : kept_) {
        compact.append(texts_, kept.at, kept.Span());
        kept.at = std::uint32_t(compact.size() - kept.Span());
    }
    texts_ = std::move(compact);
    gaps_ = 0;
}

void StoredSearchTexts::Forget(const ClipFileId& id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = kept_.find(id);
    if (it != kept_.end()) EraseLocked(it);
}

void StoredSearchTexts::HoldPacking() {
    std::lock_guard<std::mutex> lock(mutex_);
    packingHeld_ = true;
}

void StoredSearchTexts::ReleasePacking() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        packingHeld_ = false;
    }
    Settle();
}

void StoredSearchTexts::Settle() {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t live = texts_.size() - gaps_;
    if (!packingHeld_ && texts_.capacity() > live + live / 8) CompactLocked();
}

void StoredSearchTexts::Clear() {
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    kept_.clear();
    texts_ = {};
    gaps_ = 0;
    bytes_ = 0;
}

std::uint64_t StoredSearchTexts::Bytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bytes_;
}

}  // namespace history
