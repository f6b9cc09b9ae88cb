#include "sync/FolderWatcher.h"

namespace historysync {

namespace {
// A sync service brings files in bursts: the folder is listed once it has been quiet this long.
const DWORD kQuietMs = 250;
}  // namespace

bool FolderWatcher::Start(const std::filesystem::path& folder, HWND window, UINT message,
                          std::function<std::uint64_t()> writesDone) {
    Stop();
    HANDLE change = FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
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
    const HANDLE waits[] = {stop_, change};
    for (;;) {
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
        // Quiet for a moment before listing: the changes that follow at once are listed with this one.
        do {
            if (!FindNextChangeNotification(change)) goto done;
        } while (WaitForMultipleObjects(2, waits, FALSE, kQuietMs) == WAIT_OBJECT_0 + 1);
        if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) break;
        auto listed = std::make_unique<FolderListed>();
        listed->writesDoneBefore = writesDone_ ? writesDone_() : 0;
        listed->listing = capture::ListHistoryFolder(folder_, &headers_);
        if (PostMessageW(window_, message_, 0, reinterpret_cast<LPARAM>(listed.get()))) listed.release();
    }
done:
    FindCloseChangeNotification(change);
}

}  // namespace historysync
