// The history kept on disk. Every clip is written to the history folder once it is shown (a picture
// once it is compressed), in order on a thread of its own, never on the capture's path; its file goes
// when the clip goes. At start the clips are read back, in the order they were captured. The store also
// keeps the clips within the memory budget, and in step with a folder other machines write too. The main
// window owns one, on its clips; tests make their own.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "clips/ClipCollection.h"
#include "clips/Clips.h"
#include "history/ClipFile.h"
#include "history/FolderIndex.h"
#include "history/FolderWatcher.h"
#include "history/HistoryFolder.h"
#include "history/HistoryStoreState.h"

namespace history {

// %LOCALAPPDATA%\Ardentia\History.
std::filesystem::path DefaultHistoryFolder();
// The folder's index, in %LOCALAPPDATA%\Ardentia\Index; forgotten where files came into the folder by
// other means than the store's (the next start lists the files, sealing them again where they need it).
std::filesystem::path IndexFileOf(const std::filesystem::path& folder);
void ForgetFolderIndex(const std::filesystem::path& folder);

// Clips read back from their files that stay held in memory at most, and how many start-up reads whole.
const int kClipsHeldInMemory = 100;
const std::size_t kClipsReadAtStart = 25;

// The message the folder's watcher posts to the window; the window hands it to ApplyFolderListing.
const UINT kFolderListedMessage = WM_APP + 0x53;
// The message that brings the window an older block of the folder's index; it hands it to ApplyIndexBlock.
const UINT kIndexBlockMessage = WM_APP + 0x55;

// For a history folder other machines write too: what this machine lists of the folder, settled when its
// file was written before writesDoneBefore of this program's own writes were done.
struct StoredClipState {
    ClipFileId id;
    int position;
    bool pinned;
    bool settled;
};

class HistoryStore {
public:
    explicit HistoryStore(clips::Clips& clips) : clips_(clips) {}
    ~HistoryStore();  // stops watching and waits for the writes under way
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    clips::Clips& Clips() { return clips_; }

    // Starts keeping the history in folder (made when missing), every file sealed by sealer (the folder's key).
    // Clips the holders let go from now on lose their files; program exit, which clears the holders, keeps them.
    void Open(const std::filesystem::path& folder, std::shared_ptr<const common::Sealer> sealer);
    void Close();  // waits for the writes under way
    const std::filesystem::path& Folder() const { return state_.folder; }
    // "History Disk MB": past it, the oldest unpinned clips go.
    void SetDiskLimit(std::uint64_t bytes) { state_.diskBytes = bytes; }
    // "Remember History": off, only pinned clips are written (and a clip unpinned loses its file).
    void SetRemember(bool remember) { state_.remember = remember; }
    bool Remembers() const { return state_.remember; }
    // This machine's part of the file names it writes (the settings' "Machine Id").
    void SetMachineId(std::uint32_t machine) { state_.machine = machine; }

    // A new clip, or one made newest again, at its list position: written under the time of now once the
    // window is idle. window receives the timer that writes it. A clip marked for this machine only is never
    // written to a shared folder: there it stays in memory.
    void QueueClip(HWND window, const clips::ClipId& id, bool thisMachineOnly = false) {
        Queue(window, id, true, thisMachineOnly);
    }
    // Kept in memory only (a copy that looks like a credential) until allowed on the disk again (pinned).
    void KeepInMemoryOnly(const clips::ClipId& id, bool keep);
    // A folder other machines may read (any but the default one): see QueueClip.
    void SetFolderShared(bool shared) { state_.folderShared = shared; }
    // The same clip written again (pinned or unpinned), under the time it was captured.
    void QueueRewrite(HWND window, const clips::ClipId& id) { Queue(window, id, false); }
    // After Remember History changed: switched on, every clip without a file is written; switched off, the
    // unpinned clips' files are deleted (the clips stay listed, held in memory).
    void QueueRememberChoice(HWND window);
    // Waits until every file queued so far is on the disk or deleted.
    void FlushWrites();

    // A clip listed from its file's header is read into its holder; true when it is held (or was never on
    // disk only). Reading a clip may let the oldest read ones go back to the disk.
    bool LoadClip(const clips::ClipId& id);
    // LoadClip before the clip is shown, put back, opened or saved; a file found damaged takes its clip off
    // the list (the file stays) and says so on the information line.
    bool UseClip(const clips::ClipId& id);
    // Lets go of what a clip holds when its file on disk holds it all; false when it cannot.
    bool UnloadClip(const clips::ClipId& id);
    // False for a clip listed from its file and not read yet.
    bool ClipHeld(const clips::ClipId& id) const;
    // For a clip not held: what search reads of it, from its file (read once); false for a held clip. Its
    // list position, when known, spares a search for it.
    bool StoredClipSearchText(const clips::ClipId& id, std::string& text, unsigned& width, unsigned& height,
                              int position = -1);

    // Removes the oldest unpinned clips while the list holds more than the history's size.
    void RemoveClipsOverLimit();
    // How many clips new limits would delete (the oldest unpinned first), and the limits put in force.
    std::size_t ClipsBeyond(const HistoryLimits& limits) const;
    void ApplyLimits(const HistoryLimits& limits);
    // True for a file this machine wrote (or the first version wrote, before folders were shared).
    bool WrittenHere(const ClipFileId& id) const { return id.machine == state_.machine || id.machine == 0; }
    // Adds the clips of the folder to the list, oldest first, as many as the limits let stay (the others'
    // files go, oldest unpinned first). Returns what the information line says of the files skipped.
    // sealAgain, when given, is asked to seal again with the folder's key files it skipped as not sealed
    // with it (true when it did: they are listed).
    std::string Restore(const HistoryLimits& limits, const std::function<bool()>& sealAgain = nullptr);

    // The memory budget: the bytes every clip holds, and the oldest clips let go when a new one brings the
    // history over it.
    void SetBudget(std::uint64_t bytes) { budget_ = bytes; }
    std::uint64_t Budget() const { return budget_; }
    std::uint64_t HeldBytes();  // as the budget counts them
    void EvictOverBudget();     // the oldest go until the history fits; the newest stays

    // Keeps the list in step with a folder other machines write too: what another machine added, deleted or
    // pinned there is added, removed or pinned here, without the clipboard or the focus. False when the
    // folder cannot be watched.
    bool StartSync(HWND window);
    void StopSync();
    // Merges a listing the watcher posted (it owns lParam); true when the clips changed.
    bool ApplyFolderListing(LPARAM listed);
    // False from a start listed from the folder's index until the folder's first listing is merged.
    bool InStep() const { return inStep_; }
    bool ReadingSearchTextsAhead() const { return state_.searchTexts.ReadingAhead(); }
    void SetListedFirstWithoutIndex(std::size_t clips) { listedFirstWithoutIndex_ = clips; }  // for tests
    // Lists an older block of the folder's index the thread posted (it owns lParam); true when it did.
    bool ApplyIndexBlock(LPARAM posted);
    // Lists at once what of the index is not listed yet: before what counts or deletes every clip.
    void FinishListing();
    bool ListingUnfinished() const { return indexBlocks_ != nullptr; }
    // While one lives, many clips may go at once (Delete All at a long history): their files' deletes wait for
    // the disk worker until all are asked, and the kept search texts are packed once, after.
    class ManyRemovals {
    public:
        explicit ManyRemovals(HistoryStore& store);
        ~ManyRemovals();
        ManyRemovals(const ManyRemovals&) = delete;
        ManyRemovals& operator=(const ManyRemovals&) = delete;

    private:
        HistoryStore& store_;
    };

private:
    // While one lives, clips go to meet this machine's limits: another machine's files stay in the shared
    // folder for it (this machine only stops listing them); this machine's own files go with their clips.
    struct TrimScope {
        explicit TrimScope(HistoryStore& store) : store(store), removals(store) { ++store.state_.trimming; }
        ~TrimScope() { --store.state_.trimming; }
        HistoryStore& store;
        ManyRemovals removals;
    };
    static void CALLBACK WriteOnTimer(HWND window, UINT, UINT_PTR id, DWORD);
    static void CALLBACK RetryOnTimer(HWND window, UINT, UINT_PTR id, DWORD);
    static HistoryStore* StoreOf(HWND window);

    // Writes what is queued and can be written; true while some is still waiting (a picture compressing).
    bool WriteQueuedClips();
    // True when the clip's file on disk holds it whole (written, not waiting to be written again).
    bool StoredOnDisk(const clips::ClipId& id) const;
    // What this machine lists of the folder, for the sync.
    std::vector<StoredClipState> StoredClipStates(std::uint64_t writesDoneBefore);

    void Queue(HWND window, const clips::ClipId& id, bool newTime, bool thisMachineOnly = false);
    void UseWindow(HWND window);  // the window that receives the store's timers
    void NoteDeletedHere(const std::filesystem::path& file);
    void DeleteFileHere(const std::filesystem::path& file);
    void DeleteFiles(Entry& entry);
    std::filesystem::path FileOf(const Entry& entry) const { return entry.file.Path(state_.folder, entry.id); }
    void Forget(clips::HolderFamily family, clips::HolderIndex index);
    void TakeWriteOutcomes();
    void RetryFailedWrites(HWND window);
    std::string FailureLine(const DiskWorker::Outcome& outcome) const;
    void ReleaseKeepingFile(const EntryKey& key);
    // The list position of the clip with this id, or -1 when it is no longer listed.
    int PositionOf(const clips::ClipId& id);
    // The clip's label made from what it holds; its position, when known, spares a search for it.
    void LabelFromContent(const clips::ClipId& id, const std::string& text, int position = -1);

    // At most kClipsHeldInMemory clips read back stay held, a clip read back counts against the memory
    // budget, and the files stay within "History Disk MB". keep is never let go.
    void UnloadBeyondLimit(const clips::ClipId& keep);
    void UnloadOverBudget(const clips::ClipId& keep);
    void TrimToDiskLimit();
    std::vector<StoredClip> ListedOldestFirst() const;  // the list's clips: their files' sizes and pins

    // Between a live clip and its clip file (HistoryStoreFiles.cpp).
    bool ContentsOfClip(const clips::ClipId& id, std::optional<ClipFileContents>& contents);
    bool FillHolderFromFile(const ClipFileContents& clip, clips::HolderIndex index);
    void ReadMarkupOf(StoredSearchText& read);
    clips::ClipId InsertListedClip(const ClipFileHeader& header, int position);
    void NoteRestoredClip(const clips::ClipId& id, const StoredClip& stored);
    void ReadSearchTextsAhead();
    // The newest clips are read whole, as the window and the popup show them first (their labels made from
    // what they hold); the others when used. How many files proved damaged (their clips taken off the list).
    int ReadNewestWhole();
    void DeleteStoredFile(const std::filesystem::path& file) { DeleteFileHere(file); }
    // A file left where it is and no longer listed here (another machine's, past this machine's limits).
    void UnlistStoredFile(const ClipFileId& id) { state_.deletedHere.insert(id); }
    // Takes a clip whose file proved damaged off the list, leaving the file where it is.
    void DropDamagedClip(int position);

    // What another machine did (HistoryStoreSync.cpp): a clip whose file it deleted goes (no file is
    // deleted here), a clip it copied comes, listed by its capture time and read when used, and its pin
    // follows.
    int PositionOfStored(const ClipFileId& id);
    void RemoveClipsDeletedElsewhere(const std::vector<ClipFileId>& ids);
    std::vector<std::uint64_t> ListedTimes() const;  // of the list's clips, in its order
    void AddClipsFromElsewhere(std::vector<StoredClip> added);
    void SetPinFromElsewhere(const ClipFileId& id, bool pinned);

    // The folder's index (HistoryStoreIndex.cpp): the clips at start listed from it, or from the files when
    // it is missing or damaged (or fromFiles); written again from the listed clips.
    HistoryListing ListAtStart(bool fromFiles = false);
    void NoteIndexed(IndexedClip& indexed);  // for the watcher's first listing
    void ListOlderBlocks(HWND window);  // on a thread, each block posted to window
    void StopIndexThread();
    void ListOlderClips(std::vector<IndexedClip>& older);  // before the clips listed
    // Many clips listed at once at position (one repaint), in their order.
    void InsertListedClips(int position, const std::vector<const StoredClip*>& stored);
    void ListedAll();
    std::vector<IndexedClip> UnlistedClips() const;  // oldest first
    void SaveIndex(const std::vector<IndexedClip>& unlisted = {});
    StoredSearchText HeldSearchText(const clips::ClipId& tag);

    std::vector<std::uint64_t> ClipBytesOldestFirst();
    std::vector<bool> MustStayOldestFirst();

    clips::Clips& clips_;
    HistoryStoreState state_;
    std::uint64_t budget_ = clips::kDefaultHistoryBudget;
    FolderWatcher watcher_;
    bool inStep_ = true;
    bool listedPartly_ = false;  // a first start listed the newest files: the folder's listing brings the rest
    std::size_t listedFirstWithoutIndex_ = kIndexBlockClips;
    HWND syncWindow_ = nullptr;  // watched once the whole index is listed
    std::unique_ptr<FolderIndexBlocks> indexBlocks_;  // while older blocks are still to list
    std::size_t blocksListed_ = 0;
    std::thread indexThread_;
    std::atomic<bool> stopIndexThread_{false};
    // The thread opens a block only when the window has taken all but one before it: blocks waiting in the
    // queue would hold the whole index at once.
    std::mutex indexMutex_;
    std::condition_variable indexWanted_;
    std::size_t blocksTaken_ = 0;  // under indexMutex_
    std::uint64_t indexGeneration_ = 0;
    std::pair<int, int> skippedAtStart_;  // damaged and unsealed files, as the index said
};

// A clipboard format's name in a clip file ("#13", "HTML Format") and back; 0 when it cannot be.
std::string StoredFormatName(UINT format);
UINT FormatOfStoredName(const std::string& name);

}  // namespace history
