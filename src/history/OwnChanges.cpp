#include "history/OwnChanges.h"

namespace history {

namespace {
// Long enough for the system to tell the watcher, short enough that another machine's later change to the
// same file is not taken for ours.
const auto kRemembered = std::chrono::seconds(5);
}  // namespace

void OwnChanges::Note(const std::filesystem::path& name, int step) {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    // Swept now and then, not at every note: thousands of deletes at once note thousands of names.
    if (now - swept_ > kRemembered) {
        for (auto it = recent_.begin(); it != recent_.end();)
            it = now - it->second.at > kRemembered ? recent_.erase(it) : std::next(it);
        swept_ = now;
    }
    Seen& seen = recent_[name];
    seen.steps |= step;
    seen.at = now;
}

void OwnChanges::Writing(const std::filesystem::path& file) {
    Note(file.filename(), kWritten);
    Note(file.filename().concat(".part"), kWritten | kDeleted);  // made, written, moved away
}

void OwnChanges::Deleting(const std::filesystem::path& file) { Note(file.filename(), kDeleted); }

bool OwnChanges::IsOwn(const std::filesystem::path& name, bool removed) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = recent_.find(name);
    if (it == recent_.end() || std::chrono::steady_clock::now() - it->second.at > kRemembered) return false;
    return (it->second.steps & (removed ? kDeleted : kWritten | kDeleted)) != 0;
}

}  // namespace history
