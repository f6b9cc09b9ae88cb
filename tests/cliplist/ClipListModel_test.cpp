#include <random>

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
        {"FindFirst negative start", [&] { list.FindFirst("x", -1); }, kErrSubscript},
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

TEST_F(ClipListTest, EveryListIndexAssignmentRepaintsFocusesScrollsIntoViewAndNotifies) {
    Fill(10, 3);
    const struct {
        int index;
        Log log;
        int top;
    } cases[] = {
        {0, {"item 0", "focus 0", "ListIndexChange"}, 0},
        {2, {"item 0", "item 2", "focus 2", "ListIndexChange"}, 0},
        {2, {"item 2", "item 2", "focus 2", "ListIndexChange"}, 0},  // the same value still notifies
        {5, {"item 2", "item 5", "focus 5", "value 3", "all", "Scroll", "TopIndexChange", "ListIndexChange"}, 3},
        {4, {"item 5", "item 4", "focus 4", "ListIndexChange"}, 3},  // already visible: no scroll
        {1, {"item 4", "item 1", "focus 1", "value 1", "all", "Scroll", "TopIndexChange", "ListIndexChange"}, 1},
        {-1, {"item 1", "ListIndexChange"}, 1},
    };
    for (const auto& c : cases) {
        rec.log.clear();
        list.SetListIndex(c.index);
        EXPECT_EQ(rec.log, c.log) << c.index;
        EXPECT_EQ(list.TopIndex(), c.top) << c.index;
        EXPECT_EQ(Selected(), c.index < 0 ? std::vector<int>{} : std::vector<int>{c.index});
    }
}

TEST_F(ClipListTest, InsertAndRemoveSuppressScrollingForOneAssignment) {
    Fill(10, 3);
    list.SetListIndex(0);
    // Inserting above the current item moves it down without scrolling.
    list.InsertItem(0, "new");
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_TRUE(list.ScrollIntoView());
    EXPECT_EQ(list.ItemText(1), "item0");
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    // Inserting below it leaves the suppression for the next change, even far away...
    list.InsertItem(5, "later");
    list.SetListIndex(9);
    EXPECT_EQ(list.TopIndex(), 0);
    // ...and the one after scrolls again.
    list.SetListIndex(10);
    EXPECT_EQ(list.TopIndex(), 8);
    // Removing an item with a lower index adjusts without scrolling; the scroll that the removal causes
    // (the top clamps) already sees the current item moved.
    std::vector<int> seen;
    rec.onScroll = [&] { seen.push_back(list.ListIndex()); };
    list.RemoveItem(0);
    list.RemoveItem(0);
    EXPECT_EQ(list.ListIndex(), 8);
    EXPECT_EQ(list.TopIndex(), 7);
    EXPECT_EQ(seen, (std::vector<int>{8}));
}

TEST_F(ClipListTest, RemoveItemNotifiesOnlyWhenTheCurrentItemMoves) {
    const struct {
        int remove, expectedIndex, changes;
    } cases[] = {{2, -1, 1}, {0, 1, 1}, {4, 2, 0}};
    for (const auto& c : cases) {
        list.Clear();
        Fill(5);
        list.SetListIndex(2);
        rec.log.clear();
        list.RemoveItem(c.remove);
        EXPECT_EQ(list.ListIndex(), c.expectedIndex) << c.remove;
        EXPECT_EQ(rec.Count("ListIndexChange"), c.changes) << c.remove;
        EXPECT_EQ(rec.Count("clear"), 1) << "fewer items than rows clears the surface";
        EXPECT_EQ(rec.log.back(), "all");
    }
    // Clear empties without telling the container.
    Fill(10, 3);
    list.SetListIndex(9);
    rec.log.clear();
    list.Clear();
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_FALSE(list.ScrollBarShown());
    EXPECT_EQ(rec.log, (Log{"bar off 3", "value 0", "clear"}));
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

TEST_F(ClipListTest, OrderSortsByCharacterCodeAsAReferenceSortDoesAndResetsSelection) {
    for (const char* t : {"b", "A", "a"}) list.AddItem(t);
    list.SetSelectMode(1);
    list.SetItemSelected(0, true);
    list.SetItemSelected(2, true);
    list.SetListIndex(1);
    rec.log.clear();
    list.Order();
    EXPECT_EQ(Texts(), (Log{"A", "a", "b"}));
    EXPECT_EQ(list.SelectedCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(rec.Count("ListIndexChange"), 1);

    std::mt19937 rng(7);
    for (int n : {2, 4, 13, 40, 121, 500}) {
        list.Clear();
        Log expected;
        for (int i = 0; i < n; ++i) {
            std::string t(1 + rng() % 4, ' ');
            for (char& c : t) c = "aAbB\xe9z"[rng() % 6];
            list.AddItem(t, static_cast<int16_t>(i));
            expected.push_back(t);
        }
        std::sort(expected.begin(), expected.end());
        list.SetOrderType(0);
        list.Order();
        ASSERT_EQ(Texts(), expected) << n;
        list.SetOrderType(1);
        list.Order();
        std::reverse(expected.begin(), expected.end());
        ASSERT_EQ(Texts(), expected) << n;
    }
}

TEST_F(ClipListTest, FindFirstIgnoresCaseAndCanAskForAPrefix) {
    for (const char* t : {"cab", "Abc", "xyz", "ABD", "Grüße ПРИВЕТ"}) list.AddItem(t);
    const struct {
        const char* text;
        int start;
        bool prefix;
        int found;
    } cases[] = {
        {"GRÜSSE", 0, false, -1},  // folding, not transliteration
        {"GRÜẞE", 0, false, -1},    {"grÜße привет", 0, false, 4}, {"ab", 0, true, 1}, {"ab", 2, true, 3},
        {"ab", 0, false, 0},  // any occurrence
        {"YZ", 0, true, -1},        {"q", 0, false, -1},           {"x", 9, false, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(list.FindFirst(c.text, c.start, c.prefix), c.found) << c.text;
}

TEST_F(ClipListTest, SelectModeZeroKeepsOnlyTheCurrentFlagAndModifyKeepsWhatIsNotGiven) {
    Fill(5);
    list.SetSelectMode(1);
    for (int i : {0, 2, 4}) list.SetItemSelected(i, true);
    list.SetListIndex(2);
    EXPECT_EQ(list.SelectedCount(), 3);
    list.SetSelectMode(0);
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    // In single selection, selecting makes the item current; deselecting does nothing.
    list.SetItemSelected(4, true);
    EXPECT_EQ(list.ListIndex(), 4);
    list.SetItemSelected(4, false);
    EXPECT_TRUE(list.ItemSelected(4));

    rec.log.clear();
    list.ModifyItem(4, std::nullopt, 7);
    EXPECT_EQ(list.ItemText(4), "item4");
    EXPECT_EQ(list.ItemIcon(4), 7);
    EXPECT_EQ(list.ItemIconSelected(4), 2);
    EXPECT_EQ(rec.log, (Log{"item 4", "focus 4"}));
    list.SetItemIcon(0, -3);  // the indexed property stores any value
    EXPECT_EQ(list.ItemIcon(0), -3);
}

}  // namespace
}  // namespace cliplist
