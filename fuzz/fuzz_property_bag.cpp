// Feeds arbitrary stored settings to the property bag, the list's persisted set and the skin file
// reader: nothing may crash, and what the bag writes back reads the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzRequire.h"
#include "cliplist/ClipListProperties.h"
#include "common/PropertyBag.h"
#include "shell/Skin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const common::PropertyBag bag = common::PropertyBag::Parse(text);
    const common::FontSpec ambient;
    const cliplist::ClipListProperties read = cliplist::ReadClipListProperties(bag, ambient);

    // Whatever was read survives a write and a second read unchanged.
    common::PropertyBag written;
    cliplist::WriteClipListProperties(read, ambient, written);
    const cliplist::ClipListProperties again =
        cliplist::ReadClipListProperties(common::PropertyBag::Parse(written.Serialize()), ambient);
    Require(again.font == read.font);
    Require(again.backNormal == read.backNormal && again.itemHeight == read.itemHeight);
    Require(again.scrollBarWidth == read.scrollBarWidth && again.wordWrap == read.wordWrap);
    Require(again.mouseIcon == read.mouseIcon && again.selectionPicture == read.selectionPicture);

    for (const std::string& key : bag.Keys()) {
        bag.GetInt16(key, 0);
        bag.GetInt32(key, 0);
        bag.GetColour(key, 0);
        bag.GetBool(key, false);
        bag.GetFont(key, ambient);
        bag.GetPicture(key);
    }
    try {
        shell::ParseSkin(text);
    } catch (const shell::SkinError&) {
    }
    return 0;
}
