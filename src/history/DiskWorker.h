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
    std::uint64_t Write(std::filesystem::path file, ClipFileContents contents, bool replacesCopies) {
        return Push({std::move(file), std::move(contents), false, replacesCopies});
    }
    std::uint64_t Delete(std::filesystem::path file) { return Push({std::move(file), {}, true, true}); }
    std::uint64_t Done() const { return done_; }
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
        std::filesystem::path file;
        ClipFileContents contents;
        bool remove;
        bool replacesCopies;
        std::uint64_t number = 0;
    };
    std::uint64_t Push(Job job) {
        std::uint64_t number = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            number = job.number = ++pushed_;
            jobs_.push_back(std::move(job));
        }
        changed_.notify_all();
        return number;
    }
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;  // stopping, with everything done
            Job job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
            lock.unlock();
            Outcome outcome{job.number, job.file, job.remove, false, {}};
            // Nothing thrown here may end the program: a job that throws failed, and says what threw.
            try {
                job.remove ? own_.Deleting(job.file) : own_.Writing(job.file);
                outcome.done = job.remove ? RemoveFile(job.file, &outcome.why) : WriteSealed(job, outcome.why);
                if (outcome.done) job.remove ? copies_.Removed(job.file) : copies_.Written(job.file);
                if (outcome.done && job.replacesCopies)
                    RemoveOlderCopies(job.file, *sealer_, &copies_,
                                      [this](const std::filesystem::path& copy) { own_.Deleting(copy); });
                job.remove ? own_.Deleting(job.file) : own_.Writing(job.file);  // the watcher hears of it from now
            } catch (const std::exception& error) {
                outcome.why = error.what();
            }
            lock.lock();
            outcomes_.push_back(std::move(outcome));
            ++done_;
            busy_ = false;
            changed_.notify_all();
        }
    }
    bool WriteSealed(Job& job, std::string& why) {
        const std::string bytes = WriteSealedClipFile(job.contents, *sealer_);
        job.contents = {};  // the plain bytes are not kept while the file is written
        if (bytes.empty()) {
            why = "the system could not seal the clip";
            return false;
        }
        return WriteFileWhole(job.file, bytes, &why);
    }
    std::shared_ptr<const common::Sealer> sealer_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::deque<Outcome> outcomes_;
    CopyIndex copies_;  // the worker's thread alone uses it
    OwnChanges own_;
    std::atomic<std::uint64_t> pushed_{0};
    std::atomic<std::uint64_t> done_{0};
};

}  // namespace history
