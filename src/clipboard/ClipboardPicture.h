// Reading the picture on offer: its size, from the headers, before its pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace clipboard {

class PictureReader;

// The picture on offer as a 32-bit top-down DIB section (the pixels the holders compress): from the
// device-independent bitmap, the bitmap, or the PNG where only a PNG is offered. Null when there is no
// picture to read; whyNot, when given, says why when one was there but is too large, incomplete or could
// not be held. A picture that needs a reader process goes through `reader`, or is read here without one.
HBITMAP ReadClipboardBitmap(HWND owner, PictureReader* reader, std::string* whyNot = nullptr);
// Tests make holding the pixels fail, as a full address space or GDI table would.
void SetPictureHoldFailsForTesting(bool fails);

}  // namespace clipboard
