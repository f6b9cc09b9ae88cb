#include "pictures/PictureCompressor.h"

#include "pictures/PngPicture.h"

namespace pictures {

namespace {
const int kMostUnfinished = 2;
}

void PictureCompressor::Submit(Job job) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!worker_.joinable()) {
        stopping_ = false;
        worker_ = std::thread([this] { Run(); });
    }
    changed_.wait(lock, [&] { return unfinished_ < kMostUnfinished; });
    queued_.push_back(std::move(job));
    ++unfinished_;
    changed_.notify_all();
}

std::vector<PictureCompressor::Job> PictureCompressor::TakeFinished() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Job> done;
    done.swap(finished_);
    return done;
}

void PictureCompressor::WaitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return unfinished_ == 0 || !worker_.joinable(); });
}

void PictureCompressor::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    if (worker_.joinable()) worker_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    for (Job& job : queued_) finished_.push_back(std::move(job));
    queued_.clear();
    unfinished_ = 0;
}

void PictureCompressor::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !queued_.empty(); });
        if (stopping_) return;
        Job job = std::move(queued_.front());
        queued_.pop_front();
        lock.unlock();
        // A picture that cannot be compressed stays as it is; nothing thrown here may end the program.
        try {
            job.png = EncodePng(job.bits, job.width, job.height);
        } catch (const std::exception&) {
            job.png.reset();
        }
        lock.lock();
        finished_.push_back(std::move(job));
        --unfinished_;
        changed_.notify_all();
    }
}

}  // namespace pictures
