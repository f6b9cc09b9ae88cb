// Pictures offered only as PNG (what Linux programs hand Wine, and many Windows programs offer):
// decoded with the system's imaging codecs into a bitmap the picture holders keep.
#pragma once

#include <windows.h>

#include <string>

namespace capture {

UINT PngFormat();

// A 32-bit top-down bitmap of the picture, or null when the codec cannot read it.
HBITMAP DecodePng(const std::string& png);

}  // namespace capture
