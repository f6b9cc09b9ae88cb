// Compresses captured pictures to PNG on a thread of its own, so that a capture shows its clip without
// waiting for the codec. Results are collected on the window's thread, which alone creates and deletes
// bitmaps: a job keeps its bitmap alive and hands it back with its result.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/GdiScope.h"

namespace pictures {

class PictureCompressor {
public:
    struct Job {
        std::uint64_t id = 0;
        std::shared_ptr<gdi::Bitmap> pixels;  // a 32-bit top-down DIB section
        const void* bits = nullptr;
        unsigned width = 0, height = 0;
        std::optional<std::string> png;  // the result; nothing when the codec failed
    };

    ~PictureCompressor() { Stop(); }

    // Queues a picture. While two are already waiting or under way, waits for one of them first: each
    // holds its full pixels until it is done, and the address space is not unbounded.
    void Submit(Job job);
    std::vector<Job> TakeFinished();
    void WaitUntilIdle();
    void Stop();  // waits for the job under way; jobs still queued come back unfinished from TakeFinished

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> queued_;
    std::vector<Job> finished_;
    int unfinished_ = 0;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace pictures
