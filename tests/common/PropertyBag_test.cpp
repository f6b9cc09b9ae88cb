#include "common/PropertyBag.h"

#include <gtest/gtest.h>

#include "cliplist/ClipListProperties.h"

namespace common {
namespace {

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

}  // namespace
}  // namespace common
