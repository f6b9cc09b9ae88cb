#include "mainwindow/WindowPlacement.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

TEST(WindowPlacement, TheSettingReadsBackAndAnOddOneIsIgnored) {
    const SavedPlacement saved{-1200, 40, 900, 700, true, 3000};
    EXPECT_EQ(ParsePlacementSetting(PlacementSetting(saved)), saved);
    for (const char* odd : {"", "1 2 3 4 0", "1 2 0 4 0 2535", "1 2 3 -4 0 2535", "1 2 3 4 2 2535", "1 2 3 4 0 0",
                            "1,2,3,4,0,2535", "1 2 3 4 0 2535 7", "99999999999 2 3 4 0 2535", "a b c d e f"})
        EXPECT_FALSE(ParsePlacementSetting(odd).has_value()) << odd;
}

TEST(WindowPlacement, AWindowOffTheScreenComesBackOntoIt) {
    const std::vector<Box> screens = {{0, 0, 1920, 1040}, {1920, 0, 1280, 984}};
    const struct {
        Box frame, placed;
    } cases[] = {
        {{100, 100, 560, 560}, {100, 100, 560, 560}},        // on the first monitor
        {{2000, 300, 560, 560}, {2000, 300, 560, 560}},      // on the second
        {{1900, 10, 560, 560}, {1900, 10, 560, 560}},        // across both
        {{3180, 10, 560, 560}, {2640, 10, 560, 560}},        // caption 20 px on: too little to hold
        {{4000, 200, 560, 560}, {2640, 200, 560, 560}},      // a monitor unplugged
        {{-900, -300, 560, 560}, {0, 0, 560, 560}},          // above and left of everything
        {{500, 1030, 560, 560}, {500, 480, 560, 560}},       // the caption under the work area
        {{-3000, 100, 2500, 1500}, {0, 0, 1920, 1040}},      // off, and larger than any: made to fit
    };
    for (const auto& c : cases) {
        const Box placed = PlaceOnScreen(c.frame, 30, screens);
        EXPECT_EQ(placed, c.placed) << c.frame.left << "," << c.frame.top;
    }
    EXPECT_EQ(PlaceOnScreen({5, 6, 7, 8}, 30, {}), (Box{5, 6, 7, 8}));
}

}  // namespace
}  // namespace mainwindow
