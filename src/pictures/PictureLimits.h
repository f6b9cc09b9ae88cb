// How large a picture may be, and what a picture's header says about the bytes it needs: checked before
// anything is allocated for the picture or the system is asked to read it.
#pragma once

#include <cstdint>
#include <string>

namespace pictures {

const std::uint64_t kMaxPicturePixels = 16ull * 1000 * 1000;  // about 4000 x 4000

// The message for the information line when a picture is too large, or "" when it may be kept.
std::string TooLargeForPicture(std::uint64_t width, std::uint64_t height);

// The fields of a device-independent bitmap's header that fix how many bytes its block must hold.
struct DibHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0, height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0, sizeImage = 0, colorsUsed = 0;
};

// Where the pixels start: after the header, the colour masks and the colour table.
std::uint64_t DibPixelOffset(const DibHeader& header);
// Header, colour table and pixels; saturates rather than wraps for absurd dimensions.
std::uint64_t DibBytesNeeded(const DibHeader& header);

// The pixel size a PNG's header states; false when the bytes do not start like a PNG.
bool PngSize(const std::string& png, std::uint64_t& width, std::uint64_t& height);

// Why a picture is not kept, or "": too large, or a block shorter than its header says (the system
// would read past the block to make a bitmap of it).
std::string PictureRefusal(std::uint64_t width, std::uint64_t height, bool complete);

}  // namespace pictures
