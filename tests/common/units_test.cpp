#include "common/units.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    int value, dpi, expected;
};

TEST(Units, TwipsToPixels) {
    const Case cases[] = {
        {0, 96, 0},          {15, 96, 1},         {1440, 96, 96},     {1440, 120, 120},
        {7, 96, 0},          {8, 96, 1},          {-8, 96, -1},       {-7, 96, 0},
        {8040, 96, 536},     {7305, 96, 487},     {510, 96, 34},      {8040, 144, 804},
        {2000000000, 96, 133333333},  // no overflow on the way
    };
    for (const Case& c : cases)
        EXPECT_EQ(units::TwipsToPixels(c.value, c.dpi), c.expected) << c.value << " twips at " << c.dpi;
}

TEST(Units, PixelsToTwipsAndHimetric) {
    const Case twips[] = {{1, 96, 15}, {96, 96, 1440}, {1, 120, 12}, {-1, 96, -15}, {5, 0, 0}};
    for (const Case& c : twips) EXPECT_EQ(units::PixelsToTwips(c.value, c.dpi), c.expected) << c.value;
    const Case himetric[] = {{96, 96, 2540}, {1, 96, 26}, {100, 96, 2646}, {3, 0, 0}};
    for (const Case& c : himetric) EXPECT_EQ(units::PixelsToHimetric(c.value, c.dpi), c.expected) << c.value;
}

TEST(Units, RoundTripKeepsWholePixels) {
    for (int dpi : {96, 120, 144, 192})
        for (int px = -50; px <= 2000; ++px)
            ASSERT_EQ(units::TwipsToPixels(units::PixelsToTwips(px, dpi), dpi), px) << px << " at " << dpi;
}

}  // namespace
