#include "history/FolderWatcher.h"

#include <future>

namespace history {

namespace {
// A sync service brings files in bursts: the folder is listed once it has been quiet this long.
const DWORD kQuietMs = 250;
const DWORD kLongestPutOffMs = 3000;
const DWORD kRewatchMs = 5000;
const DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// The folder's changes by name, read as the system tells them.
class DirectoryChanges {
public:
    ~DirectoryChanges() { Close(); }
    bool Open(const std::filesystem::path& folder) {
        Close();
        folder_ =
            CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (folder_ == INVALID_HANDLE_VALUE) return false;
        if (!event_) event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return event_ && Arm();
    }
    bool Watching() const { return folder_ != INVALID_HANDLE_VALUE; }
    HANDLE Event() const { return event_; }
    // After the event: whether any change was not only `own`'s doing (a list too long to tell counts as
    // such), and the next changes asked for. A failure stops watching and counts as a change.
    bool Take(const FolderWatcher::OwnChange& own) {
        DWORD bytes = 0;
        if (!GetOverlappedResult(folder_, &overlapped_, &bytes, FALSE)) {
            Close();
            return true;
        }
        bool foreign = bytes == 0;
        for (DWORD at = 0; at + sizeof(FILE_NOTIFY_INFORMATION) <= bytes && !foreign;) {
            const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
            const std::wstring name(info->FileName, info->FileNameLength / sizeof(WCHAR));
            foreign = !own || !own(std::filesystem::path(name), info->Action == FILE_ACTION_REMOVED);
            if (info->NextEntryOffset == 0) break;
            at += info->NextEntryOffset;
        }
        if (!Arm()) Close();
        return foreign;
    }

private:
    bool Arm() {
        ResetEvent(event_);
        overlapped_ = {};
        overlapped_.hEvent = event_;
        return ReadDirectoryChangesW(folder_, buffer_, sizeof(buffer_), FALSE, kWatched, nullptr, &overlapped_,
                                     nullptr);
    }
    void Close() {
        if (folder_ != INVALID_HANDLE_VALUE) {
            DWORD ignored = 0;
            if (CancelIo(folder_)) GetOverlappedResult(folder_, &overlapped_, &ignored, TRUE);  // the buffer stays ours
            CloseHandle(folder_);
            folder_ = INVALID_HANDLE_VALUE;
        }
        if (event_) {
            CloseHandle(event_);
            event_ = nullptr;
        }
    }
    HANDLE folder_ = INVALID_HANDLE_VALUE;
    HANDLE event_ = nullptr;
    OVERLAPPED overlapped_ = {};
    alignas(DWORD) BYTE buffer_[32 * 1024];
};

}  // namespace

bool FolderWatcher::Start(const std::filesystem::path& folder, std::shared_ptr<const common::Sealer> sealer,
                          HWND window, UINT message, std::function<std::uint64_t()> writesDone, OwnChange own,
                          HeaderCache known) {
    Stop();
    if (!sealer) return false;
    sealer_ = std::move(sealer);
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop_) return false;
    folder_ = folder;
    headers_ = std::move(known);
    window_ = window;
    message_ = message;
    writesDone_ = std::move(writesDone);
    own_ = std::move(own);
    // The changes are asked for on the thread that reads them (only it can cancel them), and watched before
    // this returns: nothing written from now on goes unseen.
    std::promise<bool> watching;
    std::future<bool> watched = watching.get_future();
    thread_ = std::thread([this, &watching] { Run(watching); });
    if (watched.get()) return true;
    thread_.join();
    CloseHandle(stop_);
    stop_ = nullptr;
    return false;
}

void FolderWatcher::Stop() {
    if (!thread_.joinable()) return;
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
    stop_ = nullptr;
}

void FolderWatcher::Run(std::promise<bool>& watching) {
    DirectoryChanges changes;
    const bool opened = changes.Open(folder_);
    watching.set_value(opened);
    if (!opened) return;
    // What changed while the program was not running (or since the index was written) shows now.
    List();
    for (;;) {
        // Watching failed (the folder went offline, the system refused): listed every little while meanwhile,
        // and watched again as soon as it can be.
        if (!changes.Watching()) {
            if (WaitForSingleObject(stop_, kRewatchMs) == WAIT_OBJECT_0) break;
            changes.Open(folder_);
            List();
            continue;
        }
        const HANDLE waits[] = {stop_, changes.Event()};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
        // This program's own writes and deletes need no listing.
        if (!changes.Take(own_)) continue;
        // Quiet for a moment before listing: the changes that follow at once are listed with this one, but a
        // folder that never stays quiet is still listed every few seconds.
        const DWORD began = GetTickCount();
        while (changes.Watching() && GetTickCount() - began < kLongestPutOffMs &&
               WaitForMultipleObjects(2, waits, FALSE, kQuietMs) == WAIT_OBJECT_0 + 1)
            changes.Take(own_);
        if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) break;
        List();
    }
}

void FolderWatcher::List() {
    auto listed = std::make_unique<FolderListed>();
    listed->writesDoneBefore = writesDone_ ? writesDone_() : 0;
    // Nothing thrown on this thread may end the program: what failed is posted instead of a listing.
    try {
        listed->listing = ListHistoryFolder(folder_, *sealer_, &headers_);
    } catch (const std::exception& error) {
        listed->failure = std::string("listing the history folder: ") + error.what();
    }
    if (PostMessageW(window_, message_, 0, reinterpret_cast<LPARAM>(listed.get()))) listed.release();
}

}  // namespace history
