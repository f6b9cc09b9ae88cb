#include "common/PropertyBag.h"

#include <gtest/gtest.h>

#include "cliplist/ClipListProperties.h"

namespace common {
namespace {

TEST(PropertyBag, TypedValuesRoundTripAndDefaultsAreLeftOut) {
    PropertyBag bag;
    const FontSpec arial{"Arial", 9, 700, false, true, false};
    bag.PutInt("Small", -5, 0);
    bag.PutColour("Colour", 0x8000000D, 0x80000005);
    bag.PutBool("Flag", false, true);
    bag.PutFont("Font", arial, FontSpec());
    bag.PutPicture("Picture", "file:C:\\a b\\p.bmp");
    bag.PutInt("Default", 7, 7);
    const PropertyBag back = PropertyBag::Parse("# stored\n\n" + bag.Serialize() + "garbage line\n=x\n");
    EXPECT_EQ(back.Keys(), (std::vector<std::string>{"Small", "Colour", "Flag", "Font", "Picture"}));
    EXPECT_EQ(back.GetInt16("Small", 0), -5);
    EXPECT_EQ(back.GetColour("Colour", 0), 0x8000000Du);
    EXPECT_FALSE(back.GetBool("Flag", true));
    EXPECT_EQ(back.GetFont("Font", FontSpec()), arial);
    EXPECT_EQ(back.GetPicture("Picture"), "file:C:\\a b\\p.bmp");
    EXPECT_EQ(back.GetInt32("Default", 7), 7);

    bag.PutColour("Colour", 0x80000005, 0x80000005);  // back to its default: the key goes
    EXPECT_FALSE(bag.Has("Colour"));
}

TEST(PropertyBag, MalformedValuesGiveTheirDefaults) {
    const PropertyBag bag = PropertyBag::Parse(
        "Big=40000\nText=twelve\nHalf=1.5\nFlag=yes\nColour=-1\nFont=Arial;9;700;0;0\nFont2=;9;400;0;0;0\n"
        "Font3=Arial;-2;400;0;0;0\nFont4=Arial;9;400;2;0;0\nPicture=C:\\p.bmp\nHex=0x\n");
    EXPECT_EQ(bag.GetInt16("Big", 3), 3);
    EXPECT_EQ(bag.GetInt32("Big", 3), 40000);
    EXPECT_EQ(bag.GetInt16("Text", 3), 3);
    EXPECT_EQ(bag.GetInt16("Half", 3), 3);
    EXPECT_EQ(bag.GetInt16("Hex", 3), 3);
    EXPECT_TRUE(bag.GetBool("Flag", true));
    EXPECT_EQ(bag.GetColour("Colour", 9u), 9u);
    for (const char* key : {"Font", "Font2", "Font3", "Font4"}) EXPECT_EQ(bag.GetFont(key, FontSpec()), FontSpec()) << key;
    EXPECT_EQ(bag.GetPicture("Picture"), "");
}

TEST(ClipListProperties, AnEmptySetIsTheDefaultsAndDefaultsWriteNothing) {
    const FontSpec ambient{"Tahoma", 8, 400, false, false, false};
    const cliplist::ClipListProperties read = cliplist::ReadClipListProperties(PropertyBag(), ambient);
    EXPECT_EQ(read.font, ambient);
    EXPECT_EQ(read.scrollBarWidth, 13);
    EXPECT_EQ(read.backSelected, 0x8000000Du);
    EXPECT_EQ(read.itemTextLeft, 2);
    PropertyBag written;
    cliplist::WriteClipListProperties(read, ambient, written);
    EXPECT_TRUE(written.Keys().empty());

    cliplist::ClipListProperties changed = read;
    changed.mouseIcon = "file:h.cur", changed.boxBorder = 7, changed.wordWrap = false;
    cliplist::WriteClipListProperties(changed, ambient, written);
    EXPECT_EQ(written.Keys(), (std::vector<std::string>{"BoxBorder", "WordWrap", "MouseIcon"}));
    const cliplist::ClipListProperties back =
        cliplist::ReadClipListProperties(PropertyBag::Parse(written.Serialize()), ambient);
    EXPECT_EQ(back.mouseIcon, "file:h.cur");
    EXPECT_EQ(back.boxBorder, 7u);
    EXPECT_FALSE(back.wordWrap);
}

}  // namespace
}  // namespace common
