#include "capture/ClipLimits.h"

#include <cstdio>

namespace capture {

namespace {

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f MB", double(bytes) / double(1 << 20));
    return text;
}

}  // namespace

std::string TooLargeForText(std::uint64_t bytes) {
    if (bytes <= kMaxClipBytes) return "";
    return "Not kept: the copy holds " + Megabytes(bytes) + " of text, more than the " + Megabytes(kMaxClipBytes) +
           " a clip may hold";
}

std::string TooLargeForPicture(std::uint64_t width, std::uint64_t height) {
    if (width * height <= kMaxPicturePixels) return "";
    return "Not kept: the picture is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, more than the 16 million a clip may hold";
}

}  // namespace capture
