// The files this program is writing or deleting in the history folder, for a few seconds after: the
// folder's watcher passes over changes that are only these, instead of listing the folder after each of
// its own writes.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

namespace history {

class OwnChanges {
public:
    // Told before the step and again when it is done; a write covers its unfinished file too.
    void Writing(const std::filesystem::path& file);
    void Deleting(const std::filesystem::path& file);
    // A change the watcher saw, by the file's name in the folder. A file removed that this program only
    // wrote is someone else's doing.
    bool IsOwn(const std::filesystem::path& name, bool removed);

private:
    enum Step { kWritten = 1, kDeleted = 2 };
    void Note(const std::filesystem::path& name, int step);
    std::mutex mutex_;
    struct Seen {
        int steps = 0;
        std::chrono::steady_clock::time_point at;
    };
    std::map<std::filesystem::path, Seen> recent_;
    std::chrono::steady_clock::time_point swept_;
};

}  // namespace history
