// PNG through the system's imaging codecs: pictures offered only as PNG (what Linux programs hand Wine,
// and many Windows programs offer) are decoded, and pictures are held compressed as PNG.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace pictures {

UINT PngFormat();

// The form every held picture's pixels take: 32 bits a pixel, rows top-down. The header for it, and a new
// empty section of it with where its pixels are (null when it cannot be made).
BITMAPINFO PixelSectionInfo(LONG width, LONG height);
HBITMAP NewPixelSection(LONG width, LONG height, void** bits);

// A 32-bit top-down bitmap of the picture, or null when the codec cannot read it.
HBITMAP DecodePng(const std::string& png);
// A PNG of 32-bit top-down pixels whose fourth byte is ignored; nothing when the codec fails.
// Safe on any thread.
std::optional<std::string> EncodePng(const void* pixels, unsigned width, unsigned height);
// The same for a 32-bit top-down DIB section; nothing when it is none.
std::optional<std::string> EncodeSectionPng(HBITMAP section);
// Tests make the codec fail, both ways.
void SetPngCodecFailsForTesting(bool fails);

}  // namespace pictures
