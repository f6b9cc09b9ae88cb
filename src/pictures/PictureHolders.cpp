#include "pictures/PictureHolders.h"

#include "pictures/PngPicture.h"

namespace pictures {

bool PictureHolders::Create(std::int32_t index) {
    if (Exists(index)) return false;
    held_[index].id = nextId_++;
    return true;
}

void PictureHolders::DropPixels(Held& held) {
    if (!held.pixels) return;
    if (onReleasing) onReleasing(held.pixels->get());
    held.pixels.reset();  // a job still reading them holds its own reference
}

void PictureHolders::Release(std::int32_t index) {
    auto it = held_.find(index);
    if (it == held_.end()) return;
    DropPixels(it->second);
    if (shown_ == index) shown_ = -1;
    held_.erase(it);
}

void PictureHolders::Clear() {
    compressor_.Stop();
    compressor_.TakeFinished();
    for (auto& entry : held_) DropPixels(entry.second);
    held_.clear();
    shown_ = -1;
}

bool PictureHolders::Set(std::int32_t index, HBITMAP pixels, bool sourcePngKept, std::string png) {
    CollectFinished();
    auto it = held_.find(index);
    DIBSECTION section = {};
    if (it == held_.end() || !pixels || GetObject(pixels, sizeof(section), &section) != sizeof(section) ||
        section.dsBm.bmBitsPixel != 32) {
        if (pixels) DeleteObject(pixels);
        return false;
    }
    Held& held = it->second;
    DropPixels(held);
    held.id = nextId_++;
    held.width = unsigned(section.dsBm.bmWidth);
    held.height = unsigned(section.dsBm.bmHeight);
    held.pixels = std::make_shared<gdi::Bitmap>(pixels);
    held.png = std::move(png);
    held.sourcePng = sourcePngKept;
    held.compressing = !sourcePngKept && held.png.empty();
    if (held.compressing)
        compressor_.Submit({held.id, held.pixels, section.dsBm.bmBits, held.width, held.height, std::nullopt});
    return true;
}

bool PictureHolders::SetCompressed(std::int32_t index, unsigned width, unsigned height, bool sourcePngKept,
                                   std::string png) {
    CollectFinished();
    auto it = held_.find(index);
    if (it == held_.end() || width == 0 || height == 0) return false;
    Held& held = it->second;
    DropPixels(held);
    held.id = nextId_++;
    held.width = width;
    held.height = height;
    held.png = std::move(png);
    held.sourcePng = sourcePngKept;
    held.compressing = false;
    return PngOf(index, held) != nullptr;
}

bool PictureHolders::PngReady(std::int32_t index, const std::string*& png) {
    CollectFinished();
    auto it = held_.find(index);
    png = nullptr;
    if (it == held_.end()) return true;
    if (it->second.compressing) return false;
    png = PngOf(index, it->second);
    return true;
}

const std::string* PictureHolders::PngOf(std::int32_t index, const Held& held) const {
    if (held.sourcePng) return sourcePngOf ? sourcePngOf(index) : nullptr;
    return held.png.empty() ? nullptr : &held.png;
}

void PictureHolders::CollectFinished() {
    for (PictureCompressor::Job& job : compressor_.TakeFinished()) {
        for (auto& [index, held] : held_) {
            if (held.id != job.id) continue;
            held.compressing = false;
            // A picture the codec could not compress keeps its pixels: it is never lost, only costly.
            if (job.png) {
                held.png = std::move(*job.png);
                if (index != shown_) DropPixels(held);
            }
        }
    }  // the jobs' references to the pixels go here, on this thread
}

HBITMAP PictureHolders::Shown(std::int32_t index) {
    CollectFinished();
    auto it = held_.find(index);
    if (it == held_.end()) return nullptr;
    Held& held = it->second;
    if (shown_ != index) {
        if (auto before = held_.find(shown_); before != held_.end() && !before->second.compressing &&
                                              PngOf(shown_, before->second))
            DropPixels(before->second);
        shown_ = index;
    }
    if (!held.pixels)
        if (const std::string* png = PngOf(index, held))
            if (HBITMAP decoded = DecodePng(*png)) held.pixels = std::make_shared<gdi::Bitmap>(decoded);
    return held.pixels ? held.pixels->get() : nullptr;
}

bool PictureHolders::Size(std::int32_t index, unsigned& width, unsigned& height) const {
    auto it = held_.find(index);
    if (it == held_.end() || it->second.width == 0) return false;
    width = it->second.width;
    height = it->second.height;
    return true;
}

bool PictureHolders::Use(std::int32_t index, const std::function<void(HBITMAP)>& use) {
    CollectFinished();
    auto it = held_.find(index);
    if (it == held_.end()) return false;
    if (it->second.pixels) {
        const std::shared_ptr<gdi::Bitmap> pixels = it->second.pixels;
        use(pixels->get());
        return true;
    }
    const std::string* png = PngOf(index, it->second);
    gdi::Bitmap decoded(png ? DecodePng(*png) : nullptr);
    if (!decoded) return false;
    use(decoded.get());
    return true;
}

std::uint64_t PictureHolders::Bytes(std::int32_t index) {
    CollectFinished();
    auto it = held_.find(index);
    if (it == held_.end()) return 0;
    const Held& held = it->second;
    // Pixels count while they are the only form; a source's PNG is counted with the clip's kept formats.
    const std::uint64_t pixels = held.pixels && !PngOf(index, held) ? std::uint64_t(held.width) * held.height * 4 : 0;
    return held.png.size() + pixels;
}

bool PictureHolders::Compressing() const {
    for (const auto& entry : held_)
        if (entry.second.compressing) return true;
    return false;
}

void PictureHolders::FinishCompressing() {
    compressor_.WaitUntilIdle();
    CollectFinished();
}

}  // namespace pictures
