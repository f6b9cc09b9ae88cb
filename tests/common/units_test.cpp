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

}  // namespace
