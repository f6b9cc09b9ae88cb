#include "mainwindow/MainLayout.h"

#include <gtest/gtest.h>

#include "mainwindow/WindowPlacement.h"

namespace mainwindow {
namespace {

std::vector<std::pair<const char*, Box>> TopLevel(const MainBoxes& b) {
    return {{"manager", b.managerButton}, {"remember", b.rememberCheck}, {"startup", b.startupFrame},
            {"search", b.search},         {"list", b.list},             {"splitter", b.splitter},
            {"preview", b.preview},       {"info", b.infoLine},         {"delete", b.deleteSelected},
            {"delete all", b.deleteAll},  {"save frame", b.saveFrame},  {"save", b.saveButton}};
}

bool Overlap(const Box& a, const Box& b) {
    return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

// At the default size the window is the one it always was (the design in twips, rounded as every
// control's place is); larger, every control stays inside, apart from the others, and where it belongs.
TEST(MainLayout, TheDefaultSizeIsTheDesignAndLargerSizesKeepEveryControlInPlace) {
    for (int dpi : {96, 120, 144}) {
        const auto px = [dpi](int twips) { return (twips * dpi + 720) / 1440; };
        const ClientSize size = DefaultClientSize(dpi);
        const MainBoxes b = LayOutMain(size.width, size.height, DefaultListWidth(dpi), dpi);
        EXPECT_EQ(b.list, (Box{px(120), px(1440) + px(360), px(2535), px(3435) - px(360)})) << dpi;
        EXPECT_EQ(b.preview, (Box{px(2760), px(1440), px(5160), px(3435)})) << dpi;
        EXPECT_EQ(b.emptyLabel, (Box{px(180), px(2010), px(2355), px(1905)})) << dpi;
        EXPECT_EQ(b.infoLine, (Box{px(120), px(5010), px(7800), px(255)})) << dpi;
        EXPECT_EQ(b.deleteAll, (Box{px(4080), px(5390), px(3840), px(405)})) << dpi;
        EXPECT_EQ(b.saveButton, (Box{px(120), px(6780), px(7800), px(405)})) << dpi;
        EXPECT_EQ(b.folderButton, (Box{px(6840), px(300), px(720), px(345)})) << dpi;

        // Undragged, the list takes its share of added width, as the design divides list and preview.
        EXPECT_EQ(SharedListWidth(size.width, dpi), DefaultListWidth(dpi)) << dpi;
        EXPECT_EQ(SharedListWidth(size.width - 100, dpi), DefaultListWidth(dpi)) << dpi;
        const int wider = SharedListWidth(size.width + 780, dpi) - DefaultListWidth(dpi);
        EXPECT_NEAR(wider, 780 * 2535 / 7695, 1) << dpi;

        const ClientSize least = MinimumClientSize(dpi);
        const struct {
            int width, height, list;
        } sizes[] = {{least.width, least.height, 0}, {size.width, size.height, 10000}, {1900, 1000, 500},
                     {size.width + 1, size.height + 333, 250}, {least.width - 50, least.height - 50, 0}};
        for (const auto& s : sizes) {
            const MainBoxes at = LayOutMain(s.width, s.height, s.list, dpi);
            const auto where = testing::Message() << s.width << "x" << s.height << " list " << s.list << " at " << dpi;
            const auto placed = TopLevel(at);
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const Box& a = placed[i].second;
                EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.width > 0 && a.height > 0 &&
                            a.Right() <= std::max(s.width, least.width) && a.Bottom() <= std::max(s.height, least.height))
                    << placed[i].first << where;
                for (std::size_t j = i + 1; j < placed.size(); ++j)
                    EXPECT_FALSE(Overlap(a, placed[j].second)) << placed[i].first << " / " << placed[j].first << where;
            }
            // No gaps: list, splitter and preview meet, and the list ends where the search box's place does.
            EXPECT_EQ(at.list.Right(), at.splitter.left) << where;
            EXPECT_EQ(at.splitter.Right(), at.preview.left) << where;
            EXPECT_EQ(at.list.Bottom(), at.preview.Bottom()) << where;
            EXPECT_GE(at.list.width, px(1500)) << where;
            EXPECT_GE(at.preview.width, px(2400)) << where;
            // The rows below keep their distance to the bottom edge; the empty list's words stay in the list.
            EXPECT_EQ(std::max(s.height, least.height) - at.saveButton.Bottom(), size.height - b.saveButton.Bottom()) << where;
            EXPECT_LE(at.emptyLabel.Bottom(), at.list.Bottom()) << where;
            EXPECT_LE(at.emptyText.Bottom(), at.emptyLabel.height) << where;
            EXPECT_LE(at.folderButton.Right(), at.saveFrame.width) << where;
        }
    }
}

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
