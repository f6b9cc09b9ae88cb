// Writes and deletes files in the order asked, on a thread of its own, so the window never waits for the
// disk. Used by the history store.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "history/ClipFile.h"
#include "history/HistoryFolder.h"
#include "history/OwnChanges.h"
#include "history/SealedClipFile.h"

namespace history {

class DiskWorker {
public:
    ~DiskWorker() { Stop(); }  // a program that ends without closing the store still finishes its writes
    // Every file is written sealed by sealer. first runs on the thread before any job (tidying the folder
    // of what a crash left, which must not meet a write of ours under way, and may take a while).
    void Start(std::shared_ptr<const common::Sealer> sealer, std::function<void()> first = nullptr) {
        if (thread_.joinable()) return;
        sealer_ = std::move(sealer);
        stopping_ = false;
        busy_ = bool(first);  // Flush waits for it too
        thread_ = std::thread([this, first = std::move(first)] {
            if (first) {
                first();
                std::lock_guard<std::mutex> lock(mutex_);
                busy_ = false;
            }
            changed_.notify_all();
            Run();
        });
    }
    void Stop() {
        if (!thread_.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    // Each returns its job's number; Done() is how many jobs are finished, in order. A clip deleted, or
    // written again (replacesCopies), takes the older copies of its content with it (RemoveOlderCopies).
    // The clip file is made here too: megabytes of a large clip are laid out and sealed off the window's thread.
    // The paths are plain strings: a path made on the window's thread costs its parts' allocations, and Delete
    // All at a long history asks for a hundred thousand.
    std::uint64_t Write(const std::filesystem::path& file, ClipFileContents contents, bool replacesCopies) {
        return Push({file.native(), std::move(contents), false, replacesCopies, 0, {}});
    }
    std::uint64_t Delete(std::filesystem::path::string_type file) {
        return Push({std::move(file), {}, true, true, 0, {}});
    }
    std::uint64_t Done() const { return done_; }
    // Files named by their ids in folder, deleted as one job (Delete All at a long history: a job and a path
    // each would cost the window's thread hundreds of milliseconds); an outcome for each file.
    std::uint64_t DeleteMany(const std::filesystem::path& folder, std::vector<ClipFileId> ids) {
        return Push({folder.native(), {}, true, true, 0, std::move(ids)});
    }
    // Whether a change the folder's watcher saw is only this worker's doing (any thread).
    bool IsOwnChange(const std::filesystem::path& name, bool removed) { return own_.IsOwn(name, removed); }
    bool Idle() const { return done_ == pushed_; }
    void Flush() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    }
    // What became of each job finished since the last call: a file counts as written only once it is whole in
    // place, and a failed write or delete says why.
    struct Outcome {
        std::uint64_t job = 0;
        std::filesystem::path file;
        bool remove = false;
        bool done = false;
        std::string why;
    };
    std::deque<Outcome> TakeOutcomes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(outcomes_, {});
    }

private:
    struct Job {
        std::filesystem::path::string_type file;  // the folder of the files named, when some are
        ClipFileContents contents;
        bool remove;
        bool replacesCopies;
        std::uint64_t number = 0;
        std::vector<ClipFileId> named;
    };
    std::uint64_t Push(Job job) {
        std::uint64_t number = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            number = job.number = ++pushed_;
            jobs_.push_back(std::move(job));
            // A worker at work takes the next job without being woken: thousands pushed at once wake it once.
            if (!waiting_) return number;
        }
        changed_.notify_all();
        return number;
    }
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            waiting_ = true;
            changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            waiting_ = false;
            if (jobs_.empty()) return;  // stopping, with everything done
            Job job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
            lock.unlock();
            const std::filesystem::path file(std::move(job.file));
            if (job.named.empty()) {
                Outcome outcome = Do(job, file);
                lock.lock();
                outcomes_.push_back(std::move(outcome));
            } else {
                for (const ClipFileId& id : job.named) {
                    Outcome outcome = Do(job, ClipFilePathText(file, id));
                    lock.lock();
                    outcomes_.push_back(std::move(outcome));
                    lock.unlock();
                }
                lock.lock();
            }
            ++done_;
            busy_ = false;
            changed_.notify_all();
        }
    }
    Outcome Do(Job& job, const std::filesystem::path& file) {
        Outcome outcome{job.number, file, job.remove, false, {}};
        // Nothing thrown here may end the program: a job that throws failed, and says what threw.
        try {
            job.remove ? own_.Deleting(file) : own_.Writing(file);
            outcome.done = job.remove ? RemoveFile(file, &outcome.why) : WriteSealed(file, job, outcome.why);
            if (outcome.done) job.remove ? copies_.Removed(file) : copies_.Written(file);
            if (outcome.done && job.replacesCopies)
                RemoveOlderCopies(file, *sealer_, &copies_,
                                  [this](const std::filesystem::path& copy) { own_.Deleting(copy); });
            job.remove ? own_.Deleting(file) : own_.Writing(file);  // the watcher hears of it from now
        } catch (const std::exception& error) {
            outcome.why = error.what();
        }
        return outcome;
    }
    bool WriteSealed(const std::filesystem::path& file, Job& job, std::string& why) {
        const std::string bytes = WriteSealedClipFile(job.contents, *sealer_);
        job.contents = {};  // the plain bytes are not kept while the file is written
        if (bytes.empty()) {
            why = "the system could not seal the clip";
            return false;
        }
        return WriteFileWhole(file, bytes, &why);
    }
    std::shared_ptr<const common::Sealer> sealer_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool waiting_ = false;  // the worker waits for a job
    bool stopping_ = false;
    std::deque<Outcome> outcomes_;
    CopyIndex copies_;  // the worker's thread alone uses it
    OwnChanges own_;
    std::atomic<std::uint64_t> pushed_{0};
    std::atomic<std::uint64_t> done_{0};
};

}  // namespace history
