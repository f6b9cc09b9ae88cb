// Watches a folder through the system's change notifications (no polling): a moment after the last change
// of a burst that is not only this program's own, it lists the folder on its own thread and posts the
// listing to a window.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "history/HistoryFolder.h"

namespace history {

// What the watcher posts (LPARAM; the receiver takes ownership): the listing, and how many of this
// program's own writes were done before it began.
struct FolderListed {
    HistoryListing listing;
    std::uint64_t writesDoneBefore = 0;
    std::string failure;  // what went wrong instead of a listing
};

class FolderWatcher {
public:
    FolderWatcher() = default;
    ~FolderWatcher() { Stop(); }
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Whether a change (a file's name in the folder; removed or not) is only this program's own doing.
    using OwnChange = std::function<bool(const std::filesystem::path& name, bool removed)>;
    // writesDone is read on the watcher's thread just before each listing; own on it for each change. The
    // folder is listed at once, with known (what an earlier listing read, an index) sparing the files unchanged
    // since.
    bool Start(const std::filesystem::path& folder, std::shared_ptr<const common::Sealer> sealer, HWND window,
               UINT message, std::function<std::uint64_t()> writesDone, OwnChange own = nullptr,
               HeaderCache known = {});
    void Stop();
    // What the last listing read; once stopped.
    HeaderCache TakeHeaders() { return std::move(headers_); }
    bool Running() const { return thread_.joinable(); }

private:
    void Run(std::promise<bool>& watching);
    void List();
    std::thread thread_;
    HANDLE stop_ = nullptr;
    std::filesystem::path folder_;
    std::shared_ptr<const common::Sealer> sealer_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::function<std::uint64_t()> writesDone_;
    OwnChange own_;
    HeaderCache headers_;  // the watcher's thread alone uses it
};

}  // namespace history
