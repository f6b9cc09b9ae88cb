// Reading the picture on offer: its size first, from the headers, then its pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace capture {

// The pixel size of the picture on offer, read from the device-independent bitmap's header when there is
// one (so that no bitmap is made just to be measured).
bool ClipboardPictureSize(HWND owner, std::uint64_t& width, std::uint64_t& height, bool& complete);
// The picture on offer as a 32-bit top-down DIB section (the pixels the holders compress): from the
// device-independent bitmap, the bitmap, or the PNG where only a PNG is offered. Null when there is no
// picture to read; whyNot, when given, says why when one was there but could not be held.
HBITMAP ReadClipboardBitmap(HWND owner, std::string* whyNot = nullptr);
// Tests make holding the pixels fail, as a full address space or GDI table would.
void SetPictureHoldFailsForTesting(bool fails);

}  // namespace capture
