#include "cliplist/ClipListFixture.h"

namespace cliplist {
namespace {

using Log = std::vector<std::string>;

TEST_F(ClipListTest, BadIndicesErrWithTheirNumberAndChangeNothing) {
    EXPECT_EQ(ErrorOf([&] { list.ItemText(0); }), kErrInvalidIndex);  // on an empty list
    Fill(3);
    list.SetListIndex(1);
    const struct {
        const char* what;
        std::function<void()> call;
        int error;
    } cases[] = {
        {"InsertItem past the spare", [&] { list.InsertItem(4, "x"); }, kErrInvalidIndex},
        {"InsertItem negative", [&] { list.InsertItem(-1, "x"); }, kErrInvalidIndex},
        {"ModifyItem negative", [&] { list.ModifyItem(-1, "x"); }, kErrSubscript},
        {"RemoveItem negative", [&] { list.RemoveItem(-1); }, kErrSubscript},
        {"ItemText negative", [&] { list.ItemText(-2); }, kErrSubscript},
        {"ItemText past the spare", [&] { list.ItemText(4); }, kErrInvalidIndex},
        {"ListIndex too high", [&] { list.SetListIndex(3); }, kErrInvalidPropertyValue},
        {"ListIndex below -1", [&] { list.SetListIndex(-2); }, kErrInvalidPropertyValue},
        {"TopIndex while all fit", [&] { list.SetTopIndex(0); }, kErrInvalidPropertyValue},
        {"RemoveItem of the spare slot", [&] { list.RemoveItem(3); }, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
        EXPECT_EQ(Texts(), (Log{"item0", "item1", "item2"})) << c.what;
        EXPECT_EQ(list.ListIndex(), 1) << c.what;
    }
    EXPECT_EQ(list.ItemText(3), "");  // the spare slot is addressable

    while (list.ListCount() < ClipListModel::kMaxCount) list.AddItem("x");
    EXPECT_EQ(ErrorOf([&] { list.AddItem("overflow"); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([&] { list.InsertItem(0, "overflow"); }), kErrOverflow);
    EXPECT_EQ(list.ListCount(), ClipListModel::kMaxCount);
    EXPECT_EQ(list.ItemText(ClipListModel::kMaxCount), "");
}

TEST_F(ClipListTest, TheScrollBarComesAndGoesWithTheRowsThatDoNotFit) {
    Fill(2, 2);
    list.Clear();
    list.AddItem("a");
    list.AddItem("b");
    EXPECT_EQ(rec.log, (Log{"value 0", "clear", "item 0", "item 1"}));  // one row repainted at a time
    EXPECT_FALSE(list.ScrollBarShown());
    rec.log.clear();
    list.AddItem("c");
    EXPECT_EQ(rec.log, (Log{"bar on 2", "all"}));
    EXPECT_EQ(list.ScrollMaximum(), 1);
    list.SetTopIndex(1);
    EXPECT_EQ(ErrorOf([&] { list.SetTopIndex(2); }), kErrInvalidPropertyValue);
    rec.log.clear();
    // Going back to one page hides the bar and pulls the top row back into range.
    list.RemoveItem(2);
    EXPECT_FALSE(list.ScrollBarShown());
    EXPECT_EQ(list.TopIndex(), 0);
    EXPECT_EQ(rec.log[0], "bar off 2");
    EXPECT_EQ(rec.Count("TopIndexChange"), 1);
    // A taller window can show every row: the bar goes; a shorter one brings it back.
    list.AddItem("c");
    ClipListModel::WindowSide(list).SetVisibleRows(3);
    EXPECT_FALSE(list.ScrollBarShown());
    ClipListModel::WindowSide(list).SetVisibleRows(1);
    EXPECT_TRUE(list.ScrollBarShown());

    // The bar's moves raise Scroll and TopIndexChange; the thumb drag raises Scroll once more.
    Fill(7, 3);
    ClipListModel::WindowSide(list).ScrollBarMoved(2);
    EXPECT_EQ(rec.log, (Log{"all", "Scroll", "TopIndexChange"}));
    rec.log.clear();
    ClipListModel::WindowSide(list).ScrollBarMoved(2);
    EXPECT_TRUE(rec.log.empty());
    ClipListModel::WindowSide(list).ScrollBarMoved(4, true);
    EXPECT_EQ(rec.log, (Log{"all", "Scroll", "TopIndexChange", "Scroll"}));
    rec.log.clear();
    list.SetTopIndex(4);  // an unchanged value still raises TopIndexChange
    EXPECT_EQ(rec.log, (Log{"value 4", "TopIndexChange"}));
}

}  // namespace
}  // namespace cliplist
