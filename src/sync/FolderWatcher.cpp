#include "sync/FolderWatcher.h"

namespace historysync {

namespace {
// A sync service brings files in bursts: the folder is listed once it has been quiet this long.
const DWORD kQuietMs = 250;
const DWORD kLongestPutOffMs = 3000;
const DWORD kRewatchMs = 5000;
const DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
}  // namespace

bool FolderWatcher::Start(const std::filesystem::path& folder, HWND window, UINT message,
                          std::function<std::uint64_t()> writesDone) {
    Stop();
    HANDLE change = FindFirstChangeNotificationW(folder.c_str(), FALSE, kWatched);
    if (change == INVALID_HANDLE_VALUE) return false;
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop_) {
        FindCloseChangeNotification(change);
        return false;
    }
    folder_ = folder;
    headers_ = {};
    window_ = window;
    message_ = message;
    writesDone_ = std::move(writesDone);
    thread_ = std::thread([this, change] { Run(change); });
    return true;
}

void FolderWatcher::Stop() {
    if (!thread_.joinable()) return;
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
    stop_ = nullptr;
}

void FolderWatcher::Run(HANDLE change) {
    for (;;) {
        // Watching failed (the folder went offline, the system refused): listed every little while meanwhile,
        // and watched again as soon as it can be.
        if (change == INVALID_HANDLE_VALUE) {
            if (WaitForSingleObject(stop_, kRewatchMs) == WAIT_OBJECT_0) break;
            change = FindFirstChangeNotificationW(folder_.c_str(), FALSE, kWatched);
            List();
            continue;
        }
        const HANDLE waits[] = {stop_, change};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
        // Quiet for a moment before listing: the changes that follow at once are listed with this one, but a
        // folder that never stays quiet is still listed every few seconds.
        const DWORD began = GetTickCount();
        do {
            if (!FindNextChangeNotification(change)) {
                FindCloseChangeNotification(change);
                change = INVALID_HANDLE_VALUE;
                break;
            }
        } while (GetTickCount() - began < kLongestPutOffMs &&
                 WaitForMultipleObjects(2, waits, FALSE, kQuietMs) == WAIT_OBJECT_0 + 1);
        if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) break;
        List();
    }
    if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
}

void FolderWatcher::List() {
    auto listed = std::make_unique<FolderListed>();
    listed->writesDoneBefore = writesDone_ ? writesDone_() : 0;
    // Nothing thrown on this thread may end the program: what failed is posted instead of a listing.
    try {
        listed->listing = capture::ListHistoryFolder(folder_, &headers_);
    } catch (const std::exception& error) {
        listed->failure = std::string("listing the history folder: ") + error.what();
    }
    if (PostMessageW(window_, message_, 0, reinterpret_cast<LPARAM>(listed.get()))) listed.release();
}

}  // namespace historysync
