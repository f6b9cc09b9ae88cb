#include "cliplist/OleColor.h"

#include "cliplist/ClipListError.h"

namespace cliplist {

uint32_t TranslateColor(uint32_t oleColor, SysColorLookup sysColor) {
    if (oleColor & 0x80000000u) return sysColor(static_cast<int>(oleColor & 0x7FFFFFFFu));
    return oleColor;
}

Vertex16 ColorToVertex(uint32_t rgb) {
    if (rgb > 0xFFFFFFu) throw ClipListError(kErrInvalidArgument, "colour does not fit in BBGGRR");
    return Vertex16{static_cast<uint16_t>((rgb & 0xFF) << 8), static_cast<uint16_t>(((rgb >> 8) & 0xFF) << 8),
                    static_cast<uint16_t>(((rgb >> 16) & 0xFF) << 8)};
}

}  // namespace cliplist
