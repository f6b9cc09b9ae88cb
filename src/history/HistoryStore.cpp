#include "history/HistoryStore.h"

#include <shlobj.h>

#include "history/ClipFile.h"
#include "history/HistoryBudget.h"
#include "history/HistoryStoreFiles.h"
#include "history/HistoryStoreState.h"
#include "cliplist/ClipListControl.h"
#include "common/Guarded.h"
#include "common/WindowText.h"

namespace history {

namespace {

const UINT_PTR kWriteTimer = 0x4853;  // "HS"
const UINT_PTR kRetryTimer = 0x4854;
const UINT kRetryMs = 3000;

std::uint64_t NowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000ull;  // from 1601 in 100 ns to 1970 in ms
}

void NoteDeletedHere(const std::filesystem::path& file) {
    bool exact = false;
    if (const auto id = ParseClipFileName(file.filename().u8string(), exact)) State().deletedHere.insert(*id);
}

void DeleteFileHere(const std::filesystem::path& file) {
    NoteDeletedHere(file);
    State().worker.Delete(file);
}

void DeleteFiles(Entry& entry) {
    // Trimmed to this machine's limits, another machine's clip is only no longer listed here.
    if (State().trimming > 0 && !entry.file.empty() && !WrittenHere(entry.id) && entry.previous.empty() &&
        entry.replaced.empty()) {
        UnlistStoredFile(entry.id);
        entry.file.clear();
        return;
    }
    for (std::filesystem::path* file : {&entry.file, &entry.previous, &entry.replaced})
        if (!file->empty()) DeleteFileHere(*file);
    entry.file.clear();
    entry.previous.clear();
    entry.replaced.clear();
    entry.fileBytes = 0;
}

void Forget(clips::HolderFamily family, std::int16_t index) {
    if (State().keepingFiles) return;
    auto it = State().entries.find({family, index});
    if (it == State().entries.end()) return;
    State().searchTexts.Forget(it->second.id);
    DeleteFiles(it->second);
    State().entries.erase(it);
}

void TakeWriteOutcomes();

void CALLBACK WriteOnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    // It runs on while the worker has jobs whose outcome is not taken yet.
    common::Guarded<bool>([&] {
        const bool waiting = WriteQueuedClips();
        const bool idle = State().worker.Idle();
        TakeWriteOutcomes();
        if (!waiting && idle) KillTimer(window, id);
        return true;
    }, false);
}

void Queue(HWND window, const clips::ClipId& tag, bool newTime);
void RetryFailedWrites(HWND window);

// Every few seconds while the folder could not be written: the clips whose writes failed are written again
// and the deletes that failed are tried again, until one write goes through.
void CALLBACK RetryOnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    common::Guarded<bool>([&] { return RetryFailedWrites(window), true; }, false);
}

void RetryFailedWrites(HWND window) {
    std::error_code ignored;
    std::filesystem::create_directories(State().folder, ignored);
    for (auto& [key, entry] : State().entries)
        if (entry.unwritten && PositionOf(entry.tag) >= 0) Queue(window, entry.tag, false);
    for (const auto& file : std::exchange(State().undeleted, {})) State().worker.Delete(file);
    SetTimer(window, kWriteTimer, 10, WriteOnTimer);
}

std::string FailureLine(const DiskWorker::Outcome& outcome) {
    if (outcome.remove)
        return "Could not delete " + outcome.file.filename().u8string() + " from the history folder: " + outcome.why;
    return "History folder " + State().folder.u8string() + " cannot be written (" + outcome.why +
           "): clips are kept in memory until it can";
}

// What the worker did: a file whole in place makes its clip one the disk holds (and the file it replaces
// goes); a write that failed leaves the clip held and without a file, to be written again once the folder
// can be; either failure is said once.
void TakeWriteOutcomes() {
    bool confirmed = false;
    for (const DiskWorker::Outcome& outcome : State().worker.TakeOutcomes()) {
        if (!outcome.done) {
            if (outcome.remove) State().undeleted.insert(outcome.file);
            if (!State().folderFailing && clips::Host()) clips::Host()->ReportRefusedClip(FailureLine(outcome));
            State().folderFailing = true;
            if (State().window) SetTimer(State().window, kRetryTimer, kRetryMs, RetryOnTimer);
        } else if (!outcome.remove) {
            State().folderFailing = false;
        }
        if (outcome.remove) continue;
        for (auto& [key, entry] : State().entries) {
            if (entry.writeJob != outcome.job || entry.queued) continue;
            if (outcome.done) {
                entry.written = confirmed = true;
                if (!entry.replaced.empty() && entry.replaced != entry.file) DeleteFileHere(entry.replaced);
            } else {
                entry.file.clear();
                entry.fileBytes = 0;
                entry.unwritten = true;
            }
            entry.replaced.clear();
        }
    }
    const int count = confirmed && clips::Host() ? clips::Host()->ClipList().Model().ListCount() : 0;
    if (count > 0) UnloadBeyondLimit(clips::ClipTags().Tag(count - 1));
}

void Queue(HWND window, const clips::ClipId& tag, bool newTime) {
    if (!State().open) return;
    // A clip listed from its file is read before it is written again; one that cannot be is left alone.
    if (!LoadClip(tag)) return;
    Entry& entry = State().entries[KeyOf(tag)];
    if (!entry.previous.empty()) DeleteFileHere(entry.previous);  // an earlier rewrite never got written
    entry.previous = entry.file;
    entry.file.clear();
    entry.tag = tag;
    if (newTime || entry.capturedAtMs == 0) entry.capturedAtMs = NowMs();
    entry.queued = true;
    entry.unwritten = false;
    State().window = window;
    SetTimer(window, kWriteTimer, 10, WriteOnTimer);
}

void ReleaseKeepingFile(const std::pair<clips::HolderFamily, std::int16_t>& key) {
    State().keepingFiles = true;
    clips::Holders().Release(key.first, key.second);
    State().keepingFiles = false;
}

}  // namespace

HistoryStoreState& State() {
    static HistoryStoreState state;
    return state;
}

EntryKey KeyOf(const clips::ClipId& tag) {
    return {clips::FamilyOfKind(tag.kind), tag.holder};
}

int PositionOf(const clips::ClipId& tag) {
    const int count = clips::Host() ? clips::Host()->ClipList().Model().ListCount() : 0;
    for (int position = count - 1; position >= 0; --position)
        if (clips::ClipTags().Tag(position) == tag) return position;
    return -1;
}

void LabelFromContent(const clips::ClipId& tag, const std::string& text, int position) {
    const int count = clips::Host() ? clips::Host()->ClipList().Model().ListCount() : 0;
    if (position < 0 || position >= count || clips::ClipTags().Tag(position) != tag) position = PositionOf(tag);
    if (position < 0) return;
    const std::string label =
        tag.kind == clips::kKindPicture ? std::string(clips::kPictureLabel) : clips::ListLabel(text);
    auto& list = clips::Host()->ClipList().Model();
    if (list.ItemText(position) != label) list.SetItemText(position, label);
}

bool OnDisk(const Entry& entry) { return !entry.file.empty() && !entry.queued && entry.written; }

TrimScope::TrimScope() { ++State().trimming; }
TrimScope::~TrimScope() { --State().trimming; }

bool WrittenHere(const ClipFileId& id) { return id.machine == State().machine || id.machine == 0; }

std::filesystem::path DefaultHistoryFolder() {
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return {};
    return std::filesystem::path(local) / L"Ardentia" / L"History";
}

void OpenHistoryStore(const std::filesystem::path& folder) {
    CloseHistoryStore();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    State().folder = folder;
    State().open = true;
    RemoveUnfinishedFiles(folder, State().machine);
    State().worker.Start();
    clips::Holders().onReleased = [](clips::HolderFamily family, std::int16_t index) { Forget(family, index); };
}

void CloseHistoryStore() {
    if (!State().open) return;
    WriteQueuedClips();
    State().worker.Stop();
    TakeWriteOutcomes();
    if (State().window) KillTimer(State().window, kRetryTimer);
    State().searchTexts.Clear();
    clips::Holders().onReleased = nullptr;
    State().entries.clear();
    State().undeleted.clear();
    State().folderFailing = false;
    State().open = false;
}

const std::filesystem::path& HistoryFolder() { return State().folder; }

void SetHistoryDiskLimit(std::uint64_t bytes) { State().diskBytes = bytes; }

void SetRememberHistory(bool remember) { State().remember = remember; }
void SetMachineId(std::uint32_t machine) { State().machine = machine; }
bool RememberHistory() { return State().remember; }

// A clip made newest again is written anew under its new time; its older file goes.
void QueueClipForHistory(HWND window, const clips::ClipId& tag) { Queue(window, tag, true); }
void QueueClipRewrite(HWND window, const clips::ClipId& tag) { Queue(window, tag, false); }

void QueueHistoryChoice(HWND window) {
    if (!clips::Host()) return;
    const auto& list = clips::Host()->ClipList().Model();
    // Not remembered, the unpinned clips' files go. The held stay listed, in memory; of those on the disk
    // only, the newest are read back while the memory budget has room, the others go unread. Another
    // machine's clips are its own to keep.
    std::uint64_t room = HistoryBudget() - std::min(HistoryBudget(), HistoryBytes());
    for (int position = list.ListCount() - 1; position >= 0; --position) {
        const clips::ClipId tag = clips::ClipTags().Tag(position);
        const auto it = State().entries.find(KeyOf(tag));
        const bool stored = it != State().entries.end() && !it->second.file.empty();
        if (State().remember) {
            if (!stored) QueueClipRewrite(window, tag);
            continue;
        }
        if (list.ItemPinned(position) || !stored || !WrittenHere(it->second.id)) continue;
        if (!it->second.loaded && it->second.fileBytes > room) {
            clips::RemoveClip(position);
            continue;
        }
        if (!it->second.loaded) room -= it->second.fileBytes;
        QueueClipRewrite(window, tag);
    }
}

bool WriteQueuedClips() {
    bool waiting = false, written = false;
    for (auto& [key, entry] : State().entries) {
        if (!entry.queued) continue;
        const int position = PositionOf(entry.tag);
        const bool pinned = position >= 0 && clips::Host()->ClipList().Model().ItemPinned(position);
        std::optional<ClipFileContents> contents;
        // Unremembered history keeps only its pins on the disk.
        if ((State().remember || pinned) && !ContentsOfClip(entry.tag, contents)) {
            waiting = true;  // its picture is still being compressed
            continue;
        }
        entry.queued = false;
        if (!contents || position < 0) {  // the clip stays in memory only
            DeleteFiles(entry);
            continue;
        }
        contents->header.capturedAtMs = entry.capturedAtMs;
        contents->header.label = clips::Host()->ClipList().Model().ItemText(position);
        contents->header.pinned = pinned;
        entry.id = {entry.capturedAtMs, State().machine, ContentChecksum(contents->formats)};
        entry.file = State().folder / ClipFileName(entry.id);
        entry.fileBytes = ClipFileBytes(*contents);
        // A clip that had a file (pinned, unpinned, made newest) replaces every older copy of it.
        entry.written = false;
        entry.writeJob = State().worker.Write(entry.file, std::move(*contents), !entry.previous.empty());
        if (!entry.replaced.empty() && entry.replaced != entry.file) DeleteFileHere(entry.replaced);
        entry.replaced = std::exchange(entry.previous, {});
        // The file it replaces goes once this one is written: a listing meanwhile shows no other clip in it.
        if (!entry.replaced.empty() && entry.replaced != entry.file) NoteDeletedHere(entry.replaced);
        written = true;
    }
    if (written) {
        TrimToDiskLimit();
        const int newest = clips::Host()->ClipList().Model().ListCount() - 1;
        UnloadBeyondLimit(clips::ClipTags().Tag(newest));
    }
    return waiting;
}

bool LoadClip(const clips::ClipId& tag) {
    const auto key = KeyOf(tag);
    const auto it = State().entries.find(key);
    if (it == State().entries.end() || it->second.loaded) return true;  // held since it was captured, or read already
    std::optional<ClipFileContents> clip;
    if (!ReadStoredClip(it->second.file, clip) || clip->header.kind != tag.kind ||
        !FillHolderFromFile(*clip, key.second)) {
        ReleaseKeepingFile(key);
        return false;
    }
    it->second.loaded = true;
    // The label is made from what the file holds, not taken from its header: the list and the popup show
    // what putting it back will paste.
    LabelFromContent(tag, tag.kind == clips::kKindPicture ? std::string() : clips::ClipTextHead(tag, 256));
    UnloadBeyondLimit(tag);
    UnloadOverBudget(tag);
    return true;
}

bool UseClip(const clips::ClipId& tag) {
    if (LoadClip(tag)) return true;
    // Its file was whole when listed but is damaged now: the clip goes, the file stays where it is.
    for (int position = clips::Host() ? clips::Host()->ClipList().Model().ListCount() - 1 : -1; position >= 0;
         --position)
        if (clips::ClipTags().Tag(position) == tag) DropDamagedClip(position);
    if (clips::Host()) clips::Host()->ReportRefusedClip(DamagedFilesLine(1));
    return false;
}

bool UnloadClip(const clips::ClipId& tag) {
    const auto key = KeyOf(tag);
    const auto it = State().entries.find(key);
    if (it == State().entries.end() || !it->second.loaded || !OnDisk(it->second)) return false;
    it->second.loaded = false;
    ReleaseKeepingFile(key);
    return true;
}

bool StoredOnDisk(const clips::ClipId& tag) {
    const auto it = State().entries.find(KeyOf(tag));
    return it != State().entries.end() && OnDisk(it->second);
}

bool ClipHeld(const clips::ClipId& tag) {
    const auto it = State().entries.find(KeyOf(tag));
    return it == State().entries.end() || it->second.loaded;
}

void FlushHistoryWrites() {
    while (WriteQueuedClips()) clips::Holders().Pictures().FinishCompressing();
    State().worker.Flush();
    TakeWriteOutcomes();
}

void NoteRestoredClip(const clips::ClipId& tag, const StoredClip& stored) {
    Entry entry;
    entry.tag = tag;
    entry.capturedAtMs = stored.id.capturedAtMs;
    entry.file = stored.file;
    entry.fileBytes = stored.bytes;
    entry.id = stored.id;
    entry.loaded = false;
    State().entries[KeyOf(tag)] = std::move(entry);
}

void DropDamagedClip(int position) {
    State().entries.erase(KeyOf(clips::ClipTags().Tag(position)));  // first: the file is not the clip's to delete
    clips::RemoveClip(position);
}

void DeleteStoredFile(const std::filesystem::path& file) { DeleteFileHere(file); }

void UnlistStoredFile(const ClipFileId& id) { State().deletedHere.insert(id); }

}  // namespace history
