#include "capture/HistoryStore.h"

#include <shlobj.h>

#include <map>
#include <set>

#include "capture/ClipFile.h"
#include "capture/DiskWorker.h"
#include "capture/HistoryBudget.h"
#include "capture/HistoryFolder.h"
#include "capture/HistoryStoreFiles.h"
#include "capture/mClip.h"
#include "cliplist/ucClipList.h"
#include "common/Guarded.h"
#include "common/WindowText.h"

namespace capture {

namespace {

const UINT_PTR kWriteTimer = 0x4853;  // "HS"
const UINT_PTR kRetryTimer = 0x4854;
const UINT kRetryMs = 3000;

// What the store knows of a live clip: when it was captured, and its file once written. A file written
// anew (pinned, made newest) replaces the previous one only once it is on the disk.
struct Entry {
    std::string tag;
    std::uint64_t capturedAtMs = 0;
    bool queued = false;
    std::filesystem::path file;
    std::uint64_t fileBytes = 0;
    std::filesystem::path previous;
    std::filesystem::path replaced;  // the file its write replaces, deleted once that write is confirmed
    ClipFileId id;
    std::uint64_t writeJob = 0;  // the disk worker's number for the write of its file; 0 for a file found at start
    bool written = true;  // the worker said its file is whole in place (or it was found there at start)
    bool unwritten = false;  // its write failed: written again once the folder can be
    bool loaded = true;  // its holder holds it; a clip listed from its file's header is read when used
    bool labelChecked = false;  // its label made from what its file holds, once search has read it
};

std::filesystem::path gFolder;
bool gOpen = false;
bool gRemember = true;
std::uint32_t gMachine = 0;
std::uint64_t gDiskBytes = HistoryLimits{}.diskBytes;
DiskWorker gWorker;
std::map<std::pair<HolderFamily, std::int16_t>, Entry> gEntries;
std::set<ClipFileId> gDeletedHere;  // files this machine deleted: a listing may still show them
bool gKeepingFiles = false;  // a holder let go to free memory: its clip stays, and so does its file
HWND gWindow = nullptr;  // receives the timers that write and that try the folder again
bool gFolderFailing = false;  // said once on the information line until a write succeeds again
std::set<std::filesystem::path> gUndeleted;  // files a delete failed on: tried again with the failed writes
StoredSearchTexts gSearchTexts;

std::uint64_t NowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000ull;  // from 1601 in 100 ns to 1970 in ms
}

std::pair<HolderFamily, std::int16_t> KeyOf(const std::string& tag) {
    return {FamilyOfKind(TagKind(tag)), TagHolderIndex(tag)};
}

// The list position of the clip with this tag, or -1 when it is no longer listed.
int PositionOf(const std::string& tag) {
    const int count = Host() ? Host()->ClipList().Model().ListCount() : 0;
    for (int position = count - 1; position >= 0; --position)
        if (ClipTags().Tag(position) == tag) return position;
    return -1;
}

void NoteDeletedHere(const std::filesystem::path& file) {
    bool exact = false;
    if (const auto id = ParseClipFileName(file.filename().u8string(), exact)) gDeletedHere.insert(*id);
}

void DeleteFileHere(const std::filesystem::path& file) {
    NoteDeletedHere(file);
    gWorker.Delete(file);
}

int gTrimming = 0;

void DeleteFiles(Entry& entry) {
    // Trimmed to this machine's limits, another machine's clip is only no longer listed here.
    if (gTrimming > 0 && !entry.file.empty() && !WrittenHere(entry.id) && entry.previous.empty() && entry.replaced.empty()) {
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

void Forget(HolderFamily family, std::int16_t index) {
    if (gKeepingFiles) return;
    auto it = gEntries.find({family, index});
    if (it == gEntries.end()) return;
    gSearchTexts.Forget(it->second.id);
    DeleteFiles(it->second);
    gEntries.erase(it);
}

void UnloadBeyondLimit(const std::string& keep);

void TakeWriteOutcomes();

void CALLBACK WriteOnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    // It runs on while the worker has jobs whose outcome is not taken yet.
    common::Guarded<bool>([&] {
        const bool waiting = WriteQueuedClips();
        const bool idle = gWorker.Idle();
        TakeWriteOutcomes();
        if (!waiting && idle) KillTimer(window, id);
        return true;
    }, false);
}

void Queue(HWND window, const std::string& tag, bool newTime);
void RetryFailedWrites(HWND window);

// Every few seconds while the folder could not be written: the clips whose writes failed are written again
// and the deletes that failed are tried again, until one write goes through.
void CALLBACK RetryOnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    common::Guarded<bool>([&] { return RetryFailedWrites(window), true; }, false);
}

void RetryFailedWrites(HWND window) {
    std::error_code ignored;
    std::filesystem::create_directories(gFolder, ignored);
    for (auto& [key, entry] : gEntries)
        if (entry.unwritten && PositionOf(entry.tag) >= 0) Queue(window, entry.tag, false);
    for (const auto& file : std::exchange(gUndeleted, {})) gWorker.Delete(file);
    SetTimer(window, kWriteTimer, 10, WriteOnTimer);
}

std::string FailureLine(const DiskWorker::Outcome& outcome) {
    if (outcome.remove)
        return "Could not delete " + outcome.file.filename().u8string() + " from the history folder: " + outcome.why;
    return "History folder " + gFolder.u8string() + " cannot be written (" + outcome.why +
           "): clips are kept in memory until it can";
}

// What the worker did: a file whole in place makes its clip one the disk holds (and the file it replaces
// goes); a write that failed leaves the clip held and without a file, to be written again once the folder
// can be; either failure is said once.
void TakeWriteOutcomes() {
    bool confirmed = false;
    for (const DiskWorker::Outcome& outcome : gWorker.TakeOutcomes()) {
        if (!outcome.done) {
            if (outcome.remove) gUndeleted.insert(outcome.file);
            if (!gFolderFailing && Host()) Host()->ReportRefusedClip(FailureLine(outcome));
            gFolderFailing = true;
            if (gWindow) SetTimer(gWindow, kRetryTimer, kRetryMs, RetryOnTimer);
        } else if (!outcome.remove) {
            gFolderFailing = false;
        }
        if (outcome.remove) continue;
        for (auto& [key, entry] : gEntries) {
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
    const int count = confirmed && Host() ? Host()->ClipList().Model().ListCount() : 0;
    if (count > 0) UnloadBeyondLimit(ClipTags().Tag(count - 1));
}

void Queue(HWND window, const std::string& tag, bool newTime) {
    if (!gOpen) return;
    // A clip listed from its file is read before it is written again; one that cannot be is left alone.
    if (!LoadClip(tag)) return;
    Entry& entry = gEntries[KeyOf(tag)];
    if (!entry.previous.empty()) DeleteFileHere(entry.previous);  // an earlier rewrite never got written
    entry.previous = entry.file;
    entry.file.clear();
    entry.tag = tag;
    if (newTime || entry.capturedAtMs == 0) entry.capturedAtMs = NowMs();
    entry.queued = true;
    entry.unwritten = false;
    gWindow = window;
    SetTimer(window, kWriteTimer, 10, WriteOnTimer);
}

void LabelFromContent(const std::string& tag, const std::string& text, int position = -1) {
    const int count = Host() ? Host()->ClipList().Model().ListCount() : 0;
    if (position < 0 || position >= count || ClipTags().Tag(position) != tag) position = PositionOf(tag);
    if (position < 0) return;
    const std::string label = TagKind(tag) == kKindPicture ? std::string(kPictureLabel) : ListLabel(text);
    auto& list = Host()->ClipList().Model();
    if (list.ItemText(position) != label) list.SetItemText(position, label);
}

bool OnDisk(const Entry& entry) { return !entry.file.empty() && !entry.queued && entry.written; }

void ReleaseKeepingFile(const std::pair<HolderFamily, std::int16_t>& key) {
    gKeepingFiles = true;
    Holders().Release(key.first, key.second);
    gKeepingFiles = false;
}

// At most kClipsHeldInMemory clips read back from their files stay held: the oldest go back to the disk.
void UnloadBeyondLimit(const std::string& keep) {
    int held = 0;
    for (const auto& [key, entry] : gEntries) held += entry.loaded && OnDisk(entry) ? 1 : 0;
    const auto& list = Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount() && held > kClipsHeldInMemory; ++position) {
        const std::string tag = ClipTags().Tag(position);
        if (tag != keep && UnloadClip(tag)) --held;
    }
}

// A clip read back counts against the memory budget like any other: the oldest the disk holds go back to it.
void UnloadOverBudget(const std::string& keep) {
    std::uint64_t held = HistoryBytes();
    const auto& list = Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount() && held > HistoryBudget(); ++position) {
        const std::string tag = ClipTags().Tag(position);
        const std::uint64_t bytes = Holders().HeldBytes(FamilyOfKind(TagKind(tag)), TagHolderIndex(tag));
        if (tag != keep && UnloadClip(tag)) held -= std::min(held, bytes);
    }
}

// When the files pass "History Disk MB", the oldest unpinned clips go, files and all.
void TrimToDiskLimit() {
    auto& list = Host()->ClipList().Model();
    std::vector<StoredClip> oldestFirst;
    for (int position = 0; position < list.ListCount(); ++position) {
        StoredClip clip;
        const auto it = gEntries.find(KeyOf(ClipTags().Tag(position)));
        clip.bytes = it == gEntries.end() ? 0 : it->second.fileBytes;
        clip.header.pinned = list.ItemPinned(position);
        oldestFirst.push_back(clip);
    }
    HistoryLimits limits;
    limits.clips = std::size_t(kTagSlots);
    limits.diskBytes = gDiskBytes;
    const std::vector<std::size_t> removed = ClipsToRemove(oldestFirst, limits);
    TrimScope trimming;
    cliplist::ucClipList::PaintHold hold(Host()->ClipList());
    // Newest first, so that the positions still to go stay where they were; the newest clip stays.
    for (auto it = removed.rbegin(); it != removed.rend(); ++it)
        if (int(*it) < list.ListCount() - 1) RemoveClip(int(*it));
}

}  // namespace

TrimScope::TrimScope() { ++gTrimming; }
TrimScope::~TrimScope() { --gTrimming; }

bool WrittenHere(const ClipFileId& id) { return id.machine == gMachine || id.machine == 0; }

std::filesystem::path DefaultHistoryFolder() {
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return {};
    return std::filesystem::path(local) / L"Ardentia" / L"History";
}

void OpenHistoryStore(const std::filesystem::path& folder) {
    CloseHistoryStore();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    gFolder = folder;
    gOpen = true;
    RemoveUnfinishedFiles(folder, gMachine);
    gWorker.Start();
    Holders().onReleased = [](HolderFamily family, std::int16_t index) { Forget(family, index); };
}

void CloseHistoryStore() {
    if (!gOpen) return;
    WriteQueuedClips();
    gWorker.Stop();
    TakeWriteOutcomes();
    if (gWindow) KillTimer(gWindow, kRetryTimer);
    gSearchTexts.Clear();
    Holders().onReleased = nullptr;
    gEntries.clear();
    gUndeleted.clear();
    gFolderFailing = false;
    gOpen = false;
}

const std::filesystem::path& HistoryFolder() { return gFolder; }

void SetHistoryDiskLimit(std::uint64_t bytes) { gDiskBytes = bytes; }

void SetRememberHistory(bool remember) { gRemember = remember; }
void SetMachineId(std::uint32_t machine) { gMachine = machine; }
bool RememberHistory() { return gRemember; }

// A clip made newest again is written anew under its new time; its older file goes.
void QueueClipForHistory(HWND window, const std::string& tag) { Queue(window, tag, true); }
void QueueClipRewrite(HWND window, const std::string& tag) { Queue(window, tag, false); }

void QueueHistoryChoice(HWND window) {
    if (!Host()) return;
    const auto& list = Host()->ClipList().Model();
    // Not remembered, the unpinned clips' files go. The held stay listed, in memory; of those on the disk
    // only, the newest are read back while the memory budget has room, the others go unread. Another
    // machine's clips are its own to keep.
    std::uint64_t room = HistoryBudget() - std::min(HistoryBudget(), HistoryBytes());
    for (int position = list.ListCount() - 1; position >= 0; --position) {
        const std::string tag = ClipTags().Tag(position);
        const auto it = gEntries.find(KeyOf(tag));
        const bool stored = it != gEntries.end() && !it->second.file.empty();
        if (gRemember) {
            if (!stored) QueueClipRewrite(window, tag);
            continue;
        }
        if (list.ItemPinned(position) || !stored || !WrittenHere(it->second.id)) continue;
        if (!it->second.loaded && it->second.fileBytes > room) {
            RemoveClip(position);
            continue;
        }
        if (!it->second.loaded) room -= it->second.fileBytes;
        QueueClipRewrite(window, tag);
    }
}

bool WriteQueuedClips() {
    bool waiting = false, written = false;
    for (auto& [key, entry] : gEntries) {
        if (!entry.queued) continue;
        const int position = PositionOf(entry.tag);
        const bool pinned = position >= 0 && Host()->ClipList().Model().ItemPinned(position);
        std::optional<ClipFileContents> contents;
        // Unremembered history keeps only its pins on the disk.
        if ((gRemember || pinned) && !ContentsOfClip(entry.tag, contents)) {
            waiting = true;  // its picture is still being compressed
            continue;
        }
        entry.queued = false;
        if (!contents || position < 0) {  // the clip stays in memory only
            DeleteFiles(entry);
            continue;
        }
        contents->header.capturedAtMs = entry.capturedAtMs;
        contents->header.label = Host()->ClipList().Model().ItemText(position);
        contents->header.pinned = pinned;
        entry.id = {entry.capturedAtMs, gMachine, ContentChecksum(contents->formats)};
        entry.file = gFolder / ClipFileName(entry.id);
        entry.fileBytes = ClipFileBytes(*contents);
        // A clip that had a file (pinned, unpinned, made newest) replaces every older copy of it.
        entry.written = false;
        entry.writeJob = gWorker.Write(entry.file, std::move(*contents), !entry.previous.empty());
        if (!entry.replaced.empty() && entry.replaced != entry.file) DeleteFileHere(entry.replaced);
        entry.replaced = std::exchange(entry.previous, {});
        // The file it replaces goes once this one is written: a listing meanwhile shows no other clip in it.
        if (!entry.replaced.empty() && entry.replaced != entry.file) NoteDeletedHere(entry.replaced);
        written = true;
    }
    if (written) {
        TrimToDiskLimit();
        const int newest = Host()->ClipList().Model().ListCount() - 1;
        UnloadBeyondLimit(ClipTags().Tag(newest));
    }
    return waiting;
}

bool LoadClip(const std::string& tag) {
    const auto key = KeyOf(tag);
    const auto it = gEntries.find(key);
    if (it == gEntries.end() || it->second.loaded) return true;  // held since it was captured, or read already
    std::optional<ClipFileContents> clip;
    if (!ReadStoredClip(it->second.file, clip) || clip->header.kind != TagKind(tag) ||
        !FillHolderFromFile(*clip, key.second)) {
        ReleaseKeepingFile(key);
        return false;
    }
    it->second.loaded = true;
    // The label is made from what the file holds, not taken from its header: the list and the popup show
    // what putting it back will paste.
    LabelFromContent(tag, TagKind(tag) == kKindPicture ? std::string() : ClipTextHead(tag, 256));
    UnloadBeyondLimit(tag);
    UnloadOverBudget(tag);
    return true;
}

bool UseClip(const std::string& tag) {
    if (LoadClip(tag)) return true;
    // Its file was whole when listed but is damaged now: the clip goes, the file stays where it is.
    for (int position = Host() ? Host()->ClipList().Model().ListCount() - 1 : -1; position >= 0; --position)
        if (ClipTags().Tag(position) == tag) DropDamagedClip(position);
    if (Host()) Host()->ReportRefusedClip(DamagedFilesLine(1));
    return false;
}

bool UnloadClip(const std::string& tag) {
    const auto key = KeyOf(tag);
    const auto it = gEntries.find(key);
    if (it == gEntries.end() || !it->second.loaded || !OnDisk(it->second)) return false;
    it->second.loaded = false;
    ReleaseKeepingFile(key);
    return true;
}

bool StoredClipSearchText(const std::string& tag, std::string& text, unsigned& width, unsigned& height, int position) {
    const auto it = gEntries.find(KeyOf(tag));
    if (it == gEntries.end() || it->second.loaded) return false;
    Entry& entry = it->second;
    StoredSearchText found;
    const bool kept = gSearchTexts.Find(entry.id, found);
    if (!kept && !ReadSearchTextOfFile(entry.file, found)) found = {};
    // A damaged file is told when the clip is used; meanwhile search finds nothing in it.
    const bool whole = found.kind == TagKind(tag);
    if (!whole) found = {};
    if (!kept || !found.markup.empty()) {
        ReadMarkupOf(found);
        gSearchTexts.Keep(entry.id, found);
    }
    if (whole && !entry.labelChecked) LabelFromContent(tag, found.text, position);
    entry.labelChecked = true;
    text = std::move(found.text);
    width = found.width;
    height = found.height;
    return true;
}

void ReadSearchTextsAhead() {
    std::vector<std::pair<ClipFileId, std::filesystem::path>> newestFirst;
    const int count = Host() ? Host()->ClipList().Model().ListCount() : 0;
    for (int position = count - 1; position >= 0; --position) {
        const auto it = gEntries.find(KeyOf(ClipTags().Tag(position)));
        if (it != gEntries.end() && !it->second.loaded && !it->second.file.empty())
            newestFirst.emplace_back(it->second.id, it->second.file);
    }
    gSearchTexts.ReadAhead(std::move(newestFirst), ReadSearchTextOfFile);
}

bool StoredOnDisk(const std::string& tag) {
    const auto it = gEntries.find(KeyOf(tag));
    return it != gEntries.end() && OnDisk(it->second);
}

bool ClipHeld(const std::string& tag) {
    const auto it = gEntries.find(KeyOf(tag));
    return it == gEntries.end() || it->second.loaded;
}

void FlushHistoryWrites() {
    while (WriteQueuedClips()) Holders().Pictures().FinishCompressing();
    gWorker.Flush();
    TakeWriteOutcomes();
}

void NoteRestoredClip(const std::string& tag, const StoredClip& stored) {
    Entry entry;
    entry.tag = tag;
    entry.capturedAtMs = stored.id.capturedAtMs;
    entry.file = stored.file;
    entry.fileBytes = stored.bytes;
    entry.id = stored.id;
    entry.loaded = false;
    gEntries[KeyOf(tag)] = std::move(entry);
}

std::uint64_t HistoryWritesDone() { return gWorker.Done(); }

bool IsOwnHistoryChange(const std::filesystem::path& name, bool removed) { return gWorker.IsOwnChange(name, removed); }

std::vector<StoredClipState> StoredClipStates(std::uint64_t writesDoneBefore) {
    std::vector<StoredClipState> states;
    const auto& list = Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount(); ++position) {
        const auto it = gEntries.find(KeyOf(ClipTags().Tag(position)));
        if (it == gEntries.end()) continue;
        const Entry& entry = it->second;
        // Not on the disk: no other machine sees it. A file about to be written again still names the clip.
        if (entry.file.empty() && entry.previous.empty()) continue;
        const bool settled = !entry.queued && entry.written && entry.writeJob <= writesDoneBefore;
        states.push_back({entry.id, position, list.ItemPinned(position), settled});
    }
    return states;
}

const std::set<ClipFileId>& FilesDeletedHere() { return gDeletedHere; }

int PositionOfStored(const ClipFileId& id) {
    for (const auto& [key, entry] : gEntries)
        if (!entry.file.empty() && entry.id == id) return PositionOf(entry.tag);
    return -1;
}

void RemoveClipDeletedElsewhere(const ClipFileId& id) {
    const int position = PositionOfStored(id);
    if (position < 0) return;
    gEntries.erase(KeyOf(ClipTags().Tag(position)));  // its file is gone, or is another machine's to keep
    RemoveClip(position);
}

void AddClipFromElsewhere(const StoredClip& stored) {
    std::vector<std::uint64_t> times;
    const auto& list = Host()->ClipList().Model();
    for (int position = 0; position < list.ListCount(); ++position) {
        const auto it = gEntries.find(KeyOf(ClipTags().Tag(position)));
        times.push_back(it != gEntries.end() ? it->second.capturedAtMs : times.empty() ? 0 : times.back());
    }
    const std::string tag = InsertListedClip(stored.header, int(PlaceByTime(times, stored.id.capturedAtMs)));
    if (!tag.empty()) NoteRestoredClip(tag, stored);
}

void SetPinFromElsewhere(const ClipFileId& id, bool pinned) {
    const int position = PositionOfStored(id);
    if (position >= 0) Host()->ClipList().Model().SetItemPinned(position, pinned);
}

void DropDamagedClip(int position) {
    gEntries.erase(KeyOf(ClipTags().Tag(position)));  // first: the file is not the clip's to delete
    RemoveClip(position);
}

void DeleteStoredFile(const std::filesystem::path& file) { DeleteFileHere(file); }

void UnlistStoredFile(const ClipFileId& id) { gDeletedHere.insert(id); }

}  // namespace capture
