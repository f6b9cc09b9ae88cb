// OLE colours: RGB (0x00BBGGRR) with the top bit clear, a system colour index with it set.
#pragma once

#include <cstdint>

namespace cliplist {

using SysColorLookup = uint32_t (*)(int index);

uint32_t TranslateColor(uint32_t oleColor, SysColorLookup sysColor);

// GradientFill's 16-bit channels: each 8-bit component in the high byte.
struct Vertex16 {
    uint16_t red, green, blue;
};

// Throws ClipListError 5 for a value that does not fit in six hexadecimal digits.
Vertex16 ColorToVertex(uint32_t rgb);

}  // namespace cliplist
