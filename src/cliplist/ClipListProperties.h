// The list's persisted design-time settings: their keys, defaults, and the order they are written in.
// Items, ListIndex and TopIndex are never persisted.
#pragma once

#include <cstdint>
#include <string>

#include "common/PropertyBag.h"

namespace cliplist {

struct ClipListProperties {
    std::int16_t appearance = 1;
    std::int16_t borderStyle = 1;
    bool enabled = true;
    std::int16_t scrollBarWidth = 13;
    common::FontSpec font;  // the container's ambient font unless stored
    std::uint32_t fontNormal = 0x80000008;
    std::uint32_t fontSelected = 0x8000000E;
    std::uint32_t backNormal = 0x80000005;
    std::uint32_t backSelected = 0x8000000D;
    std::uint32_t backSelectedG1 = 0x8000000D;
    std::uint32_t backSelectedG2 = 0x80000005;
    std::uint32_t boxBorder = 0x8000000E;
    std::int16_t boxOffset = 1;
    std::int16_t boxRadius = 0;
    std::int32_t alignment = 0;
    bool focus = true;
    bool hoverSelection = false;
    bool wordWrap = true;
    std::int16_t itemHeight = 0;
    bool itemHeightAuto = true;
    std::int16_t itemOffset = 0;
    std::int16_t itemTextLeft = 2;
    std::int32_t orderType = 0;
    std::string selectionPicture;  // a picture reference, "" for none
    std::int32_t selectMode = 0;
    std::int32_t selectModeStyle = 0;
    std::int16_t mousePointer = 0;
    std::string mouseIcon;
};

// Absent or unreadable keys give their defaults; the font defaults to the ambient one.
ClipListProperties ReadClipListProperties(const common::PropertyBag& bag, const common::FontSpec& ambientFont);
// Writes every key in its order, leaving out the values that equal their defaults.
void WriteClipListProperties(const ClipListProperties& properties, const common::FontSpec& ambientFont,
                             common::PropertyBag& bag);

}  // namespace cliplist
