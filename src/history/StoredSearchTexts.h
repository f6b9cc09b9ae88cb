// What search reads of clips listed from their files and not held. A thread reads the newest first after
// start, so that the first search or popup finds them ready instead of reading thousands of files on the
// window's thread; what is read stays while all of it fits in kStoredSearchBudget (the least recently
// used go first, and are read again when asked).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "history/HistoryFolder.h"

namespace history {

const std::uint64_t kStoredSearchBudget = 32ull << 20;

struct StoredSearchText {
    std::string kind;  // the file's, checked against its clip's
    std::string text;
    unsigned width = 0, height = 0;
    std::string markup;  // rich text offered alone, until its plain text is read on the window's thread
};

// Files to read ahead, by the id of their clips (plain strings: a long history's paths would take megabytes).
using FilesToRead = std::vector<std::pair<ClipFileId, std::filesystem::path::string_type>>;
// Reads what search reads of a clip file; false when it holds no whole clip.
using SearchTextReader = std::function<bool(const std::filesystem::path&, StoredSearchText&)>;

class StoredSearchTexts {
public:
    explicit StoredSearchTexts(std::uint64_t budget = kStoredSearchBudget) : budget_(budget) {}
    ~StoredSearchTexts() { Stop(); }
    // Starts reading these files (newest first) on a thread of its own, as far as the budget goes.
    void ReadAhead(FilesToRead newestFirst, SearchTextReader read);
    void Stop();
    bool ReadingAhead() const { return readersRunning_ > 0; }
    // The text kept for a file, or false when none is.
    bool Find(const ClipFileId& id, StoredSearchText& text);
    bool Has(const ClipFileId& id) const;
    void Keep(const ClipFileId& id, StoredSearchText text);
    // Keeps text only where it fits beside what is kept (what the folder's index held for a clip).
    void Offer(const ClipFileId& id, StoredSearchText text);
    void Forget(const ClipFileId& id);
    void Clear();
    // Between the two, texts forgotten leave their gaps: many forgotten at once are packed once, at the release.
    void HoldPacking();
    void ReleasePacking();
    // Once the texts at hand are kept: the room their text grew by, and the gaps, are let go (not while held).
    void Settle();
    std::uint64_t Bytes() const;

private:
    // Its kind, text and markup lie in texts_ one after the other: a long history's texts are one block, not
    // two or three a clip.
    struct Kept {
        std::uint64_t used = 0;  // when last kept or found: the least recently used go first
        std::uint32_t at = 0, textBytes = 0, markupBytes = 0;
        std::uint32_t width = 0, height = 0;
        std::uint8_t kindBytes = 0;
        std::size_t Span() const { return std::size_t(kindBytes) + textBytes + markupBytes; }
    };
    static std::uint64_t BytesOf(const StoredSearchText& text) { return text.text.size() + text.markup.size() + 64; }
    static std::uint64_t BytesOf(const Kept& kept) { return std::uint64_t(kept.textBytes) + kept.markupBytes + 64; }
    // Keeps text in place of any older one, the least recently used going to make room.
    void KeepLocked(const ClipFileId& id, StoredSearchText text);
    void MakeRoomLocked(std::uint64_t bytes);
    void EraseLocked(std::map<ClipFileId, Kept>::iterator it);
    const std::uint64_t budget_;
    mutable std::mutex mutex_;
    // Texts let go leave gaps in texts_ until they are a quarter of it: then it is written again without them.
    void CompactLocked();
    std::map<ClipFileId, Kept> kept_;
    std::string texts_;
    std::size_t gaps_ = 0;
    bool packingHeld_ = false;
    std::uint64_t uses_ = 0;
    std::uint64_t bytes_ = 0;
    std::vector<std::thread> readers_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> readersRunning_{0};
};


}  // namespace history
