// The store and the folder's index: start-up lists the newest block of clips from it, a thread opens the older
// blocks and the window's thread lists each behind the others; the folder is watched (its first listing
// bringing the list in step) once all are listed. The store writes the index again from the clips it lists
// when it closes, and at once after listing a folder from its files.
#include "history/FolderIndex.h"
#include "history/HistoryStore.h"
#include "history/HistoryStoreFiles.h"

#include <exception>

#include "cliplist/ClipListControl.h"

namespace history {

std::filesystem::path IndexFileOf(const std::filesystem::path& folder) {
    return FolderIndexFile(DefaultHistoryFolder().parent_path() / L"Index", folder);
}

void ForgetFolderIndex(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::remove(IndexFileOf(folder), ignored);
}

// What the index thread posts (LPARAM; the receiver takes ownership).
struct IndexBlockPosted {
    std::uint64_t generation = 0;
    std::size_t block = 0;
    std::optional<std::vector<IndexedClip>> clips;  // nothing: the block is damaged, and the loading ends
};

void HistoryStore::NoteIndexed(IndexedClip& indexed) {
    state_.indexed.Put(indexed.clip, indexed.written);
    if (indexed.search) state_.searchTexts.Offer(indexed.clip.id, std::move(*indexed.search));
}

HistoryListing HistoryStore::ListAtStart(bool fromFiles) {
    StopIndexThread();
    state_.indexed = {};
    if (!fromFiles) {
        auto blocks = std::make_unique<FolderIndexBlocks>();
        std::optional<std::vector<IndexedClip>> newest;
            if (blocks->Read(state_.indexFile, Folder(), state_.sealer) && (newest = blocks->Block(0))) {
            HistoryListing listing;
            listing.damaged = state_.indexed.damaged = blocks->Damaged();
            listing.unsealed = state_.indexed.unsealed = blocks->Unsealed();
            for (IndexedClip& indexed : *newest) {
                NoteIndexed(indexed);
                listing.clips.push_back(std::move(indexed.clip));
            }
            inStep_ = false;
            skippedAtStart_ = {listing.damaged, listing.unsealed};
            blocksListed_ = 1;
            if (blocks->Count() > 1) indexBlocks_ = std::move(blocks);
            return listing;
        }
    }
    // Without an index, the newest files are listed at once and the folder's first listing brings the others.
    HistoryListing listing =
        ListHistoryFolder(Folder(), *state_.sealer, &state_.indexed, fromFiles ? 0 : listedFirstWithoutIndex_);
    inStep_ = !listing.partial;
    listedPartly_ = listing.partial;
    skippedAtStart_ = {listing.damaged, listing.unsealed};
    return listing;
}

void HistoryStore::ListOlderBlocks(HWND window) {
    const std::uint64_t generation = ++indexGeneration_;
    stopIndexThread_ = false;
    const FolderIndexBlocks* blocks = indexBlocks_.get();
    const std::size_t from = blocksListed_;
    blocksTaken_ = from;
    indexThread_ = std::thread([this, window, generation, blocks, from] {
        for (std::size_t n = from; n < blocks->Count() && !stopIndexThread_; ++n) {
            {
                std::unique_lock<std::mutex> lock(indexMutex_);
                indexWanted_.wait(lock, [&] { return stopIndexThread_ || n < blocksTaken_ + 2; });
            }
            if (stopIndexThread_) break;
            auto posted = std::make_unique<IndexBlockPosted>();
            posted->generation = generation;
            posted->block = n;
            // Nothing thrown on this thread may end the program: a block that cannot be opened ends the loading.
            try {
                posted->clips = blocks->Block(n);
            } catch (const std::exception&) {
                posted->clips.reset();
            }
            const bool damaged = !posted->clips;
            if (PostMessageW(window, kIndexBlockMessage, 0, reinterpret_cast<LPARAM>(posted.get()))) posted.release();
            if (damaged) break;
        }
    });
}

void HistoryStore::StopIndexThread() {
    {
        const std::lock_guard<std::mutex> lock(indexMutex_);
        stopIndexThread_ = true;
    }
    indexWanted_.notify_all();
    if (indexThread_.joinable()) indexThread_.join();
    ++indexGeneration_;  // what it posted and the window has not taken yet is dropped
}

bool HistoryStore::ApplyIndexBlock(LPARAM posted) {
    const std::unique_ptr<IndexBlockPosted> taken(reinterpret_cast<IndexBlockPosted*>(posted));
    if (!taken || taken->generation != indexGeneration_ || !indexBlocks_ || !clips_.Host()) return false;
    if (!taken->clips) {
        ListedAll();  // the folder's listing brings what the damaged block held
        return false;
    }
    ListOlderClips(*taken->clips);
    blocksListed_ = taken->block + 1;
    {
        const std::lock_guard<std::mutex> lock(indexMutex_);
        blocksTaken_ = blocksListed_;
    }
    indexWanted_.notify_all();
    if (blocksListed_ >= indexBlocks_->Count()) ListedAll();
    return true;
}

void HistoryStore::FinishListing() {
    if (!indexBlocks_) return;
    StopIndexThread();
    while (blocksListed_ < indexBlocks_->Count()) {
        auto clips = indexBlocks_->Block(blocksListed_);
        if (!clips) break;
        ListOlderClips(*clips);
        ++blocksListed_;
    }
    ListedAll();
}

void HistoryStore::ListedAll() {
    StopIndexThread();
    indexBlocks_.reset();
    state_.searchTexts.Settle();
    if (!clips_.Host()) return;
    // The limits apply once the whole history is listed (they count every clip).
    RemoveClipsOverLimit();
    TrimToDiskLimit();
    ReadSearchTextsAhead();
    if (syncWindow_) StartSync(syncWindow_);
}

void HistoryStore::ListOlderClips(std::vector<IndexedClip>& older) {
    std::vector<const StoredClip*> clips;
    for (IndexedClip& indexed : older) {
        NoteIndexed(indexed);
        clips.push_back(&indexed.clip);
    }
    InsertListedClips(0, clips);
}

void HistoryStore::InsertListedClips(int position, const std::vector<const StoredClip*>& stored) {
    auto& list = clips_.Host()->ClipList().Model();
    const int count = list.ListCount();
    std::vector<clips::ClipId> tags;
    std::vector<cliplist::ClipItem> items;
    for (const StoredClip* clip : stored) {
        const ClipFileHeader& header = clip->header;
        const clips::HolderFamily family = clips::FamilyOfKind(header.kind);
        tags.push_back({header.kind, clips_.Tags().NextHolderIndex(family, count)});
        clips_.Tags().Advance(family, tags.back().holder);
        const std::int16_t icon = clips::IconOfKind(header.kind);
        items.push_back({header.label, icon, icon, header.pinned});
    }
    // Every slot taken (pins past any limit): they are not listed.
    if (!clips_.Tags().InsertTags(position, tags, count)) return;
    list.InsertItems(position, std::move(items));
    for (std::size_t i = 0; i < stored.size(); ++i) NoteRestoredClip(tags[i], *stored[i]);
}

void HistoryStore::StopSync() {
    syncWindow_ = nullptr;
    if (!watcher_.Running()) return;
    watcher_.Stop();
    state_.indexed = watcher_.TakeHeaders();
}

std::vector<IndexedClip> HistoryStore::UnlistedClips() const {
    std::vector<IndexedClip> unlisted;
    for (std::size_t n = indexBlocks_ ? indexBlocks_->Count() : 0; n > blocksListed_; --n) {
        auto clips = indexBlocks_->Block(n - 1);
        if (!clips) break;  // what the damaged block held comes back from the folder's listing
        unlisted.insert(unlisted.end(), clips->begin(), clips->end());
    }
    // Gathered oldest block first: each is oldest first.
    return unlisted;
}

// What search reads of a clip its holder holds, as ReadSearchTextOfFile reads it from its file.
StoredSearchText HistoryStore::HeldSearchText(const clips::ClipId& tag) {
    StoredSearchText search;
    search.kind = tag.kind;
    if (tag.kind == clips::kKindPicture) clips_.Holders().Pictures().Size(tag.holder, search.width, search.height);
    else search.text = clips_.TextHead(tag, kStoredSearchChars);
    return search;
}

void HistoryStore::SaveIndex(const std::vector<IndexedClip>& unlisted) {
    if (!state_.open || !clips_.Host() || state_.indexFile.empty()) return;
    const auto& list = clips_.Host()->ClipList().Model();
    IndexedFolder index;
    index.clips = unlisted;
    index.damaged = state_.indexed.damaged;
    index.unsealed = state_.indexed.unsealed;
    for (int position = 0; position < list.ListCount(); ++position) {
        const clips::ClipId& tag = clips_.Tags().Tag(position);
        const auto it = state_.entries.find(KeyOf(tag));
        if (it == state_.entries.end() || !OnDisk(it->second)) continue;
        const Entry& entry = it->second;
        IndexedClip indexed;
        indexed.clip.otherFile = entry.file.Other();
        indexed.clip.id = entry.id;
        indexed.clip.bytes = entry.fileBytes;
        indexed.clip.header = {tag.kind, entry.capturedAtMs, list.ItemPinned(position), list.ItemText(position),
                               entry.fileBytes};
        // A file a listing saw as it is now keeps its time: the next start's listing does not open it again.
        // One written since is opened once more.
        indexed.written = std::filesystem::file_time_type::min();
        const auto seen = state_.indexed.Find(indexed.clip);
        if (seen && seen->bytes == entry.fileBytes && seen->header.pinned == indexed.clip.header.pinned) {
            indexed.written = seen->written;
            indexed.clip.header.capturedAtMs = seen->header.capturedAtMs;
        }
        StoredSearchText search;
        if (entry.loaded) search = HeldSearchText(tag);
        else if (!state_.searchTexts.Find(entry.id, search)) search.kind.clear();
        if (search.kind == tag.kind) indexed.search = std::move(search);
        index.clips.push_back(std::move(indexed));
    }
    SaveFolderIndex(state_.indexFile, Folder(), index, *state_.sealer);
}

}  // namespace history
