// The picture clips' holders. A picture is held compactly: as the PNG its source offered, or else as a
// PNG made in the background after the clip is shown. Its pixels are decoded only while it is shown
// (one picture at a time) and, for a moment, while it is saved or put back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "pictures/PictureCompressor.h"
#include "common/GdiScope.h"

namespace pictures {

class PictureHolders {
public:
    ~PictureHolders() { compressor_.Stop(); }

    bool Create(std::int32_t index);  // false when it exists
    bool Exists(std::int32_t index) const { return held_.count(index) != 0; }
    void Release(std::int32_t index);
    void Clear();

    // Takes a 32-bit top-down DIB section. Unless the source's PNG is kept or the picture's own PNG is
    // given, it is compressed in the background. False (and the bitmap deleted) when the holder does not exist.
    bool Set(std::int32_t index, HBITMAP pixels, bool sourcePngKept, std::string png = {});
    // A picture known by its PNG alone (one read back from the disk): decoded when it is first used.
    bool SetCompressed(std::int32_t index, unsigned width, unsigned height, bool sourcePngKept, std::string png = {});
    // False while the picture waits for its compressed form; then png is its PNG, or null when it has none
    // (the codec failed: it is held as pixels).
    bool PngReady(std::int32_t index, const std::string*& png);
    // The picture to show, decoded when needed; the one shown before is let go. Null when it cannot be.
    HBITMAP Shown(std::int32_t index);
    bool Size(std::int32_t index, unsigned& width, unsigned& height) const;
    // Calls use with the picture's pixels, decoded for the call when not at hand. False when they cannot be.
    bool Use(std::int32_t index, const std::function<void(HBITMAP)>& use);
    // What the picture costs to hold: its PNG, and its pixels while they are held.
    std::uint64_t Bytes(std::int32_t index);
    void FinishCompressing();  // waits for the background work and takes in its results
    bool Compressing() const;  // whether a picture still waits for its compressed form

    std::function<const std::string*(std::int32_t)> sourcePngOf;  // the PNG a clip kept from its source
    std::function<void(HBITMAP)> onReleasing;                    // told before a shown bitmap is deleted

private:
    struct Held {
        std::uint64_t id = 0;
        unsigned width = 0, height = 0;
        std::shared_ptr<gdi::Bitmap> pixels;
        std::string png;           // made here; empty while compressing or when the source's PNG is kept
        bool sourcePng = false;
        bool compressing = false;
    };
    const std::string* PngOf(std::int32_t index, const Held& held) const;
    void DropPixels(Held& held);
    void CollectFinished();

    std::map<std::int32_t, Held> held_;
    std::int32_t shown_ = -1;
    std::uint64_t nextId_ = 1;
    PictureCompressor compressor_;
};

}  // namespace pictures
