#include "history/HistoryStore.h"

#include <shlobj.h>

#include "history/ClipFile.h"
#include "history/HistoryStoreFiles.h"
#include "cliplist/ClipListControl.h"
#include "common/Guarded.h"
#include "common/WindowText.h"

namespace history {

namespace {

const UINT_PTR kWriteTimer = 0x4853;  // "HS"
const UINT_PTR kRetryTimer = 0x4854;
const UINT kRetryMs = 3000;
const char kStoreProperty[] = "ArdentiaHistoryStore";  // on the window that receives the store's timers

std::uint64_t NowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000ull;  // from 1601 in 100 ns to 1970 in ms
}

}  // namespace

void HistoryStore::NoteDeletedHere(const std::filesystem::path& file) {
    bool exact = false;
    if (const auto id = ParseClipFileName(file.filename().u8string(), exact)) state_.deletedHere.insert(*id);
}

void HistoryStore::DeleteFileHere(const std::filesystem::path& file) {
    NoteDeletedHere(file);
    state_.worker.Delete(file.native());
}

void HistoryStore::DeleteFiles(Entry& entry) {
    // Trimmed to this machine's limits, another machine's clip is only no longer listed here.
    if (state_.trimming > 0 && !entry.file.empty() && !WrittenHere(entry.id) && entry.previous.empty() &&
        entry.replaced.empty()) {
        UnlistStoredFile(entry.id);
        entry.file.clear();
        return;
    }
    if (!entry.file.empty() && entry.file.Other().empty()) {
        // Named by its id: its id needs no reading from its name, and its path is made on the worker's thread
        // when many go at once.
        state_.deletedHere.insert(entry.id);
        if (state_.removingMany > 0) state_.deletesNamed.push_back(entry.id);
        else state_.worker.Delete(ClipFilePathText(state_.folder, entry.id));
    } else if (!entry.file.empty()) {
        DeleteFileHere(FileOf(entry));
    }
    for (const auto* file : {&entry.previous, &entry.replaced})
        if (!file->empty()) DeleteFileHere(*file);
    entry.file.clear();
    entry.previous.clear();
    entry.replaced.clear();
    entry.fileBytes = 0;
}

void HistoryStore::Forget(clips::HolderFamily family, clips::HolderIndex index) {
    if (state_.keepingFiles) return;
    auto it = state_.entries.find({family, index});
    if (it == state_.entries.end()) return;
    state_.searchTexts.Forget(it->second.id);
    DeleteFiles(it->second);
    state_.entries.erase(it);
}

HistoryStore* HistoryStore::StoreOf(HWND window) {
    return static_cast<HistoryStore*>(GetPropA(window, kStoreProperty));
}

void CALLBACK HistoryStore::WriteOnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    // It runs on while the worker has jobs whose outcome is not taken yet.
    common::Guarded<bool>([&] {
        HistoryStore* store = StoreOf(window);
        if (!store) return KillTimer(window, id), true;
        const bool waiting = store->WriteQueuedClips();
        const bool idle = store->state_.worker.Idle();
        store->TakeWriteOutcomes();
        if (!waiting && idle) KillTimer(window, id);
        return true;
    }, false);
}

// Every few seconds while the folder could not be written: the clips whose writes failed are written again
// and the deletes that failed are tried again, until one write goes through.
void CALLBACK HistoryStore::RetryOnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    common::Guarded<bool>([&] {
        if (HistoryStore* store = StoreOf(window)) store->RetryFailedWrites(window);
        return true;
    }, false);
}

void HistoryStore::RetryFailedWrites(HWND window) {
    std::error_code ignored;
    std::filesystem::create_directories(state_.folder, ignored);
    for (auto& [key, entry] : state_.entries)
        if (entry.unwritten && PositionOf(entry.tag) >= 0) Queue(window, entry.tag, false);
    for (const auto& file : std::exchange(state_.undeleted, {})) state_.worker.Delete(file.native());
    SetTimer(window, kWriteTimer, 10, WriteOnTimer);
}

std::string HistoryStore::FailureLine(const DiskWorker::Outcome& outcome) const {
    if (outcome.remove)
        return "Could not delete " + outcome.file.filename().u8string() + " from the history folder: " + outcome.why;
    return "History folder " + state_.folder.u8string() + " cannot be written (" + outcome.why +
           "): clips are kept in memory until it can";
}

// What the worker did: a file whole in place makes its clip one the disk holds (and the file it replaces
// goes); a write that failed leaves the clip held and without a file, to be written again once the folder
// can be; either failure is said once.
void HistoryStore::TakeWriteOutcomes() {
    bool confirmed = false;
    for (const DiskWorker::Outcome& outcome : state_.worker.TakeOutcomes()) {
        if (!outcome.done) {
            if (outcome.remove) state_.undeleted.insert(outcome.file);
            if (!state_.folderFailing && clips_.Host()) clips_.Host()->ReportRefusedClip(FailureLine(outcome));
            state_.folderFailing = true;
            if (state_.window) SetTimer(state_.window, kRetryTimer, kRetryMs, RetryOnTimer);
        } else if (!outcome.remove) {
            state_.folderFailing = false;
        }
        if (outcome.remove) continue;
        for (auto& [key, entry] : state_.entries) {
            if (entry.writeJob != outcome.job || entry.queued) continue;
            if (outcome.done) {
                entry.written = confirmed = true;
                if (!entry.replaced.empty() && entry.replaced != FileOf(entry).native()) DeleteFileHere(entry.replaced);
            } else {
                entry.file.clear();
                entry.fileBytes = 0;
                entry.unwritten = true;
            }
            entry.replaced.clear();
        }
    }
    if (confirmed && clips_.Count() > 0) UnloadBeyondLimit(clips_.Newest());
}

void HistoryStore::Queue(HWND window, const clips::ClipId& tag, bool newTime, bool thisMachineOnly) {
    if (!state_.open) return;
    // A clip listed from its file is read before it is written again; one that cannot be is left alone.
    if (!LoadClip(tag)) return;
    Entry& entry = state_.entries[KeyOf(tag)];
    if (!entry.previous.empty()) DeleteFileHere(entry.previous);  // an earlier rewrite never got written
    entry.previous = FileOf(entry).native();
    entry.file.clear();
    entry.tag = tag;
    if (newTime || entry.capturedAtMs == 0) entry.capturedAtMs = NowMs();
    entry.queued = true;
    entry.unwritten = false;
    entry.thisMachineOnly |= thisMachineOnly;
    UseWindow(window);
    SetTimer(window, kWriteTimer, 10, WriteOnTimer);
}

void HistoryStore::KeepInMemoryOnly(const clips::ClipId& tag, bool keep) {
    const auto it = state_.entries.find(KeyOf(tag));
    if (it != state_.entries.end()) it->second.memoryOnly = keep;
}

void HistoryStore::ReleaseKeepingFile(const EntryKey& key) {
    state_.keepingFiles = true;
    clips_.Holders().Release(key.first, key.second);
    state_.keepingFiles = false;
}

HistoryStore::~HistoryStore() {
    StopSync();
    Close();
}

void HistoryStore::UseWindow(HWND window) {
    if (state_.window == window) return;
    if (state_.window) RemovePropA(state_.window, kStoreProperty);
    state_.window = window;
    SetPropA(window, kStoreProperty, this);
}

EntryKey KeyOf(const clips::ClipId& tag) {
    return {clips::FamilyOfKind(tag.kind), tag.holder};
}

int HistoryStore::PositionOf(const clips::ClipId& tag) {
    const int count = clips_.Count();
    for (int position = count - 1; position >= 0; --position)
        if (clips_.Tags().Tag(position) == tag) return position;
    return -1;
}

void HistoryStore::LabelFromContent(const clips::ClipId& tag, const std::string& text, int position) {
    const int count = clips_.Count();
    if (position < 0 || position >= count || clips_.Tags().Tag(position) != tag) position = PositionOf(tag);
    if (position < 0) return;
    const std::string label =
        tag.kind == clips::kKindPicture ? std::string(clips::kPictureLabel) : clips::ListLabel(text);
    auto& list = clips_.Host()->ClipList().Model();
    if (list.ItemText(position) != label) list.SetItemText(position, label);
}

bool OnDisk(const Entry& entry) { return !entry.file.empty() && !entry.queued && entry.written; }

std::filesystem::path DefaultHistoryFolder() {
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return {};
    return std::filesystem::path(local) / L"Ardentia" / L"History";
}

void HistoryStore::Open(const std::filesystem::path& folder, std::shared_ptr<const common::Sealer> sealer) {
    Close();
    if (!sealer) return;  // no key, no history on disk
    state_.sealer = std::move(sealer);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    state_.folder = folder;
    state_.indexFile = IndexFileOf(folder);
    state_.open = true;
    state_.worker.Start(state_.sealer, [folder, machine = state_.machine] { RemoveUnfinishedFiles(folder, machine); });
    clips_.Holders().onReleased = [this](clips::HolderFamily family, clips::HolderIndex index) { Forget(family, index); };
}

void HistoryStore::Close() {
    if (!state_.open) return;
    StopSync();  // its last listing gives the index its files' times
    // Clips of the index not listed yet stay in it, before the listed ones.
    StopIndexThread();
    const std::vector<IndexedClip> unlisted = UnlistedClips();
    indexBlocks_.reset();
    WriteQueuedClips();
    state_.worker.Stop();
    TakeWriteOutcomes();
    SaveIndex(unlisted);
    if (state_.window) {
        KillTimer(state_.window, kRetryTimer);
        KillTimer(state_.window, kWriteTimer);
        RemovePropA(state_.window, kStoreProperty);
        state_.window = nullptr;
    }
    state_.searchTexts.Clear();
    clips_.Holders().onReleased = nullptr;
    state_.entries.clear();
    state_.undeleted.clear();
    state_.folderFailing = false;
    state_.open = false;
}

void HistoryStore::QueueRememberChoice(HWND window) {
    if (!clips_.Host()) return;
    const auto& list = clips_.Host()->ClipList().Model();
    // Not remembered, the unpinned clips' files go. The held stay listed, in memory; of those on the disk
    // only, the newest are read back while the memory budget has room, the others go unread. Another
    // machine's clips are its own to keep.
    std::uint64_t room = budget_ - std::min(budget_, HeldBytes());
    for (int position = list.ListCount() - 1; position >= 0; --position) {
        const clips::ClipId tag = clips_.Tags().Tag(position);
        const auto it = state_.entries.find(KeyOf(tag));
        const bool stored = it != state_.entries.end() && !it->second.file.empty();
        if (state_.remember) {
            if (!stored) QueueRewrite(window, tag);
            continue;
        }
        if (list.ItemPinned(position) || !stored || !WrittenHere(it->second.id)) continue;
        if (!it->second.loaded && it->second.fileBytes > room) {
            clips_.Remove(position);
            continue;
        }
        if (!it->second.loaded) room -= it->second.fileBytes;
        QueueRewrite(window, tag);
    }
}

bool HistoryStore::WriteQueuedClips() {
    bool waiting = false, written = false;
    for (auto& [key, entry] : state_.entries) {
        if (!entry.queued) continue;
        const int position = PositionOf(entry.tag);
        const bool pinned = position >= 0 && clips_.Host()->ClipList().Model().ItemPinned(position);
        std::optional<ClipFileContents> contents;
        // Unremembered history keeps only its pins on the disk; a shared folder no clip for this machine only.
        const bool mayWrite = (state_.remember || pinned) && !entry.memoryOnly &&
                              !(entry.thisMachineOnly && state_.folderShared);
        if (mayWrite && !ContentsOfClip(entry.tag, contents)) {
            waiting = true;  // its picture is still being compressed
            continue;
        }
        entry.queued = false;
        if (!contents || position < 0) {  // the clip stays in memory only
            DeleteFiles(entry);
            continue;
        }
        contents->header.capturedAtMs = entry.capturedAtMs;
        contents->header.label = clips_.Host()->ClipList().Model().ItemText(position);
        contents->header.pinned = pinned;
        const auto content = SealedContentId(contents->formats, *state_.sealer);
        if (!content) {  // the system's cryptography failed: kept in memory, written when tried again
            entry.unwritten = true;
            continue;
        }
        entry.id = {entry.capturedAtMs, state_.machine, *content};
        const std::filesystem::path file(ClipFilePathText(state_.folder, entry.id));
        entry.file.Set(file, state_.folder, entry.id);
        entry.fileBytes = SealedClipFileBytes(*contents, *state_.sealer);
        // A clip that had a file (pinned, unpinned, made newest) replaces every older copy of it.
        entry.written = false;
        entry.writeJob = state_.worker.Write(file, std::move(*contents), !entry.previous.empty());
        if (!entry.replaced.empty() && entry.replaced != file.native()) DeleteFileHere(entry.replaced);
        entry.replaced = std::exchange(entry.previous, {});
        // The file it replaces goes once this one is written: a listing meanwhile shows no other clip in it.
        if (!entry.replaced.empty() && entry.replaced != file.native()) NoteDeletedHere(entry.replaced);
        written = true;
    }
    if (written) {
        TrimToDiskLimit();
        UnloadBeyondLimit(clips_.Newest());
    }
    return waiting;
}

bool HistoryStore::LoadClip(const clips::ClipId& tag) {
    const auto key = KeyOf(tag);
    const auto it = state_.entries.find(key);
    if (it == state_.entries.end() || it->second.loaded) return true;  // held since it was captured, or read already
    std::optional<ClipFileContents> clip;
    if (!ReadStoredClip(FileOf(it->second), *state_.sealer, clip) || clip->header.kind != tag.kind ||
        !FillHolderFromFile(*clip, key.second)) {
        ReleaseKeepingFile(key);
        return false;
    }
    it->second.loaded = true;
    // The label is made from what the file holds, not taken from its header: the list and the popup show
    // what putting it back will paste.
    LabelFromContent(tag, tag.kind == clips::kKindPicture ? std::string() : clips_.TextHead(tag, 256));
    UnloadBeyondLimit(tag);
    UnloadOverBudget(tag);
    return true;
}

bool HistoryStore::UseClip(const clips::ClipId& tag) {
    if (LoadClip(tag)) return true;
    // Its file was whole when listed but is damaged now: the clip goes, the file stays where it is.
    for (int position = clips_.Count() - 1; position >= 0; --position)
        if (clips_.Tags().Tag(position) == tag) DropDamagedClip(position);
    if (clips_.Host()) clips_.Host()->ReportRefusedClip(SkippedFilesLine(1, 0));
    return false;
}

bool HistoryStore::UnloadClip(const clips::ClipId& tag) {
    const auto key = KeyOf(tag);
    const auto it = state_.entries.find(key);
    if (it == state_.entries.end() || !it->second.loaded || !OnDisk(it->second)) return false;
    it->second.loaded = false;
    ReleaseKeepingFile(key);
    return true;
}

bool HistoryStore::StoredOnDisk(const clips::ClipId& tag) const {
    const auto it = state_.entries.find(KeyOf(tag));
    return it != state_.entries.end() && OnDisk(it->second);
}

bool HistoryStore::ClipHeld(const clips::ClipId& tag) const {
    const auto it = state_.entries.find(KeyOf(tag));
    return it == state_.entries.end() || it->second.loaded;
}

void HistoryStore::FlushWrites() {
    while (WriteQueuedClips()) clips_.Holders().Pictures().FinishCompressing();
    state_.worker.Flush();
    TakeWriteOutcomes();
}

void HistoryStore::NoteRestoredClip(const clips::ClipId& tag, const StoredClip& stored) {
    Entry entry;
    entry.tag = tag;
    entry.capturedAtMs = stored.id.capturedAtMs;
    entry.id = stored.id;
    entry.file.Set(stored);
    entry.fileBytes = stored.bytes;
    entry.loaded = false;
    state_.entries[KeyOf(tag)] = std::move(entry);
}

void HistoryStore::DropDamagedClip(int position) {
    state_.entries.erase(KeyOf(clips_.Tags().Tag(position)));  // first: the file is not the clip's to delete
    clips_.Remove(position);
}

}  // namespace history
