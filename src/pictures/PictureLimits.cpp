#include "pictures/PictureLimits.h"

#include <limits>

namespace pictures {

std::string TooLargeForPicture(std::uint64_t width, std::uint64_t height) {
    if (width * height <= kMaxPicturePixels) return "";
    return "Not kept: the picture is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, more than the 16 million a clip may hold";
}

bool PngSize(const std::string& png, std::uint64_t& width, std::uint64_t& height) {
    static const char kSignature[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR";
    if (png.size() < 24 || png.compare(0, 16, std::string(kSignature, 16)) != 0) return false;
    const auto number = [&](std::size_t at) {
        std::uint64_t n = 0;
        for (std::size_t i = 0; i < 4; ++i) n = (n << 8) | static_cast<unsigned char>(png[at + i]);
        return n;
    };
    width = number(16);
    height = number(20);
    return true;
}

namespace {
const std::uint32_t kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;
}

std::uint64_t DibPixelOffset(const DibHeader& header) {
    std::uint64_t colours = header.colorsUsed;
    if (colours == 0 && header.bitCount > 0 && header.bitCount <= 8) colours = 1ull << header.bitCount;
    std::uint64_t offset = std::uint64_t(header.size) + 4 * colours;
    if (header.size == 40 && header.compression == kBitfields) offset += 12;  // the three colour masks
    if (header.size == 40 && header.compression == kAlphaBitfields) offset += 16;
    return offset;
}

std::uint64_t DibBytesNeeded(const DibHeader& header) {
    const std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t needed = DibPixelOffset(header);
    const bool uncompressed =
        header.compression == kRgb || header.compression == kBitfields || header.compression == kAlphaBitfields;
    if (!uncompressed) return needed + header.sizeImage;
    if (header.width < 0) return kSaturated;  // no picture has a negative width
    const std::uint64_t width = std::uint64_t(header.width);
    const std::uint64_t height = header.height < 0 ? std::uint64_t(-std::int64_t(header.height)) : header.height;
    const std::uint64_t stride = (width * header.bitCount + 31) / 32 * 4;
    if (height != 0 && stride > (kSaturated - needed) / height) return kSaturated;
    return needed + stride * height;
}

std::string PictureRefusal(std::uint64_t width, std::uint64_t height, bool complete) {
    const std::string tooLarge = TooLargeForPicture(width, height);
    if (!tooLarge.empty() || complete) return tooLarge;
    return "Not kept: the picture on the clipboard is incomplete";
}

}  // namespace pictures
