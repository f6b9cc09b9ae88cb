#include "cliplist/ClipListModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace cliplist {
namespace {

// Records what the model asks of the window and tells the container, in one ordered log.
class Recorder : public ClipListSurface, public ClipListEvents {
public:
    std::vector<std::string> log;
    void RepaintAll() override { log.push_back("all"); }
    void RepaintItem(int i) override { log.push_back("item " + std::to_string(i)); }
    void DrawFocusRect(int i) override { log.push_back("focus " + std::to_string(i)); }
    void ClearSurface() override { log.push_back("clear"); }
    void ShowScrollBar(bool shown, int page) override {
        log.push_back(std::string(shown ? "bar on " : "bar off ") + std::to_string(page));
    }
    void SetScrollRange(int) override {}
    void SetScrollValue(int v) override { log.push_back("value " + std::to_string(v)); }
    void DiscardEdit() override {}
    void ListIndexChange() override { log.push_back("ListIndexChange"); }
    void Scroll() override {
        log.push_back("Scroll");
        if (onScroll) onScroll();
    }
    std::function<void()> onScroll;
    void TopIndexChange() override { log.push_back("TopIndexChange"); }
    int Count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }
};

class ClipListModelTest : public ::testing::Test {
protected:
    ClipListModelTest() { list.SetEvents(&rec); }
    void Fill(int n, int visibleRows = 100) {
        ClipListModel::WindowSide(list).SetVisibleRows(visibleRows);
        for (int i = 0; i < n; ++i) list.AddItem("item" + std::to_string(i), 1, 2);
        rec.log.clear();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (int i = 0; i < list.ListCount(); ++i) t.push_back(list.ItemText(i));
        return t;
    }
    Recorder rec;
    ClipListModel list{rec};
};

int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ClipListError& e) {
        return e.number();
    }
    return 0;
}

TEST_F(ClipListModelTest, EmptyListRejectsEveryIndexedAccess) {
    ClipListModel::WindowSide(list).SetVisibleRows(5);
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.SelectedCount(), 0);
    const std::function<void()> calls[] = {
        [&] { list.ItemText(0); },           [&] { list.SetItemText(0, "x"); },
        [&] { list.ItemIcon(0); },           [&] { list.SetItemIcon(0, 1); },
        [&] { list.ItemIconSelected(0); },   [&] { list.SetItemIconSelected(0, 1); },
        [&] { list.ItemSelected(0); },       [&] { list.SetItemSelected(0, true); },
        [&] { list.InsertItem(0, "x"); },    [&] { list.ModifyItem(0, "x"); },
        [&] { list.FindFirst("x"); },
    };
    for (const auto& call : calls) EXPECT_EQ(ErrorOf(call), kErrInvalidIndex);
    EXPECT_EQ(ErrorOf([&] { list.RemoveItem(0); }), 0);
    EXPECT_EQ(ErrorOf([&] { list.SetTopIndex(0); }), kErrInvalidPropertyValue);
    EXPECT_EQ(ErrorOf([&] { list.SetListIndex(0); }), kErrInvalidPropertyValue);
}

TEST_F(ClipListModelTest, BadIndicesOnAFilledListLeaveItUnchanged) {
    Fill(3);
    list.SetListIndex(1);
    struct Case {
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
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
        EXPECT_EQ(Texts(), (std::vector<std::string>{"item0", "item1", "item2"})) << c.what;
        EXPECT_EQ(list.ListIndex(), 1) << c.what;
    }
    EXPECT_EQ(list.ItemText(3), "");  // the spare slot is addressable
    EXPECT_EQ(ErrorOf([&] { list.RemoveItem(3); }), 0);
    EXPECT_EQ(list.ListCount(), 3);
}

TEST_F(ClipListModelTest, FullListRefusesMoreWithoutTouchingTheSpareSlot) {
    ClipListModel::WindowSide(list).SetVisibleRows(10);
    for (int i = 0; i < ClipListModel::kMaxCount; ++i) list.AddItem("x");
    EXPECT_EQ(ErrorOf([&] { list.AddItem("overflow"); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([&] { list.InsertItem(0, "overflow"); }), kErrOverflow);
    EXPECT_EQ(list.ListCount(), ClipListModel::kMaxCount);
    EXPECT_EQ(list.ItemText(ClipListModel::kMaxCount), "");
}

TEST_F(ClipListModelTest, EveryListIndexAssignmentRepaintsFocusesAndNotifies) {
    Fill(3);
    list.SetListIndex(0);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"item 0", "focus 0", "ListIndexChange"}));
    rec.log.clear();
    list.SetListIndex(2);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"item 0", "item 2", "focus 2", "ListIndexChange"}));
    EXPECT_FALSE(list.ItemSelected(0));
    EXPECT_TRUE(list.ItemSelected(2));
    rec.log.clear();
    list.SetListIndex(2);  // the same value still repaints and notifies
    EXPECT_EQ(rec.log, (std::vector<std::string>{"item 2", "item 2", "focus 2", "ListIndexChange"}));
    rec.log.clear();
    list.SetListIndex(-1);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"item 2", "ListIndexChange"}));
    EXPECT_EQ(list.SelectedCount(), 0);
}

TEST_F(ClipListModelTest, ListIndexScrollsIntoViewBeforeNotifying) {
    Fill(10, 3);
    list.SetListIndex(5);
    EXPECT_EQ(list.TopIndex(), 3);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"item 5", "focus 5", "value 3", "all", "Scroll", "TopIndexChange",
                                                 "ListIndexChange"}));
    list.SetListIndex(1);
    EXPECT_EQ(list.TopIndex(), 1);
    list.SetListIndex(3);  // already visible: no scroll
    EXPECT_EQ(list.TopIndex(), 1);
}

TEST_F(ClipListModelTest, InsertAndRemoveSuppressScrollingForOneAssignment) {
    Fill(10, 3);
    list.SetListIndex(0);
    // Inserting above the current item moves it down without scrolling.
    list.InsertItem(0, "new");
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_TRUE(list.ScrollIntoView());
    EXPECT_EQ(list.ItemText(1), "item0");
    EXPECT_TRUE(list.ItemSelected(1));
    EXPECT_FALSE(list.ItemSelected(0));
    // Inserting below it leaves the suppression for the next change, even far away...
    list.InsertItem(5, "later");
    list.SetListIndex(9);
    EXPECT_EQ(list.TopIndex(), 0);
    // ...and the one after scrolls again.
    list.SetListIndex(10);
    EXPECT_EQ(list.TopIndex(), 8);
    // Removing an item with a lower index adjusts without scrolling.
    list.RemoveItem(0);
    EXPECT_EQ(list.ListIndex(), 9);
    EXPECT_EQ(list.TopIndex(), 8);
}

TEST_F(ClipListModelTest, ScrollingCausedByAnInsertOrRemoveSeesTheCurrentItemAlreadyMoved) {
    Fill(10, 3);
    list.SetListIndex(9);
    std::vector<int> seen;
    rec.onScroll = [&] { seen.push_back(list.ListIndex()); };
    list.RemoveItem(0);  // the top clamps from 7 to 6
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 8);
    rec.onScroll = nullptr;
}

TEST_F(ClipListModelTest, RemoveItemNotifiesOnlyWhenTheCurrentItemMoves) {
    struct Case {
        int remove, expectedIndex, changes;
    } cases[] = {{2, -1, 1}, {0, 1, 1}, {4, 2, 0}};
    for (const Case& c : cases) {
        list.Clear();
        Fill(5);
        list.SetListIndex(2);
        rec.log.clear();
        list.RemoveItem(c.remove);
        EXPECT_EQ(list.ListIndex(), c.expectedIndex) << c.remove;
        EXPECT_EQ(rec.Count("ListIndexChange"), c.changes) << c.remove;
        EXPECT_EQ(list.ListCount(), 4);
        EXPECT_EQ(rec.Count("clear"), 1) << "fewer items than rows clears the surface";
        EXPECT_EQ(rec.log.back(), "all");
    }
}

TEST_F(ClipListModelTest, AddRepaintsOneRowUntilTheScrollBarAppears) {
    ClipListModel::WindowSide(list).SetVisibleRows(2);
    list.AddItem("a");
    list.AddItem("b");
    EXPECT_EQ(rec.log, (std::vector<std::string>{"item 0", "item 1"}));
    EXPECT_FALSE(list.ScrollBarShown());
    rec.log.clear();
    list.AddItem("c");
    EXPECT_EQ(rec.log, (std::vector<std::string>{"bar on 2", "all"}));
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
}

TEST_F(ClipListModelTest, ScrollBarMovesRaiseScrollAndTopIndexChange) {
    Fill(10, 3);
    ClipListModel::WindowSide(list).ScrollBarMoved(2);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"all", "Scroll", "TopIndexChange"}));
    rec.log.clear();
    ClipListModel::WindowSide(list).ScrollBarMoved(2);
    EXPECT_TRUE(rec.log.empty());
    ClipListModel::WindowSide(list).ScrollBarMoved(4, true);  // the thumb drag raises Scroll once more
    EXPECT_EQ(rec.log, (std::vector<std::string>{"all", "Scroll", "TopIndexChange", "Scroll"}));
    rec.log.clear();
    list.SetTopIndex(4);  // unchanged value still raises TopIndexChange
    EXPECT_EQ(rec.log, (std::vector<std::string>{"value 4", "TopIndexChange"}));
}

TEST_F(ClipListModelTest, OrderSortsByCharacterCodeAndResetsSelection) {
    const char* texts[] = {"b", "A", "a"};
    for (const char* t : texts) list.AddItem(t);
    list.SetSelectMode(1);
    list.SetItemSelected(0, true);
    list.SetItemSelected(2, true);
    list.SetListIndex(1);
    rec.log.clear();
    list.Order();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"A", "a", "b"}));
    EXPECT_EQ(list.SelectedCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(rec.Count("ListIndexChange"), 1);
    list.SetOrderType(1);
    list.Order();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"b", "a", "A"}));
}

TEST_F(ClipListModelTest, OrderAgreesWithAReferenceSortOnManyItems) {
    std::mt19937 rng(7);
    for (int n : {2, 4, 13, 40, 121, 500}) {
        list.Clear();
        std::vector<std::string> expected;
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

TEST_F(ClipListModelTest, FindFirstIgnoresCaseAndCanAskForAPrefix) {
    for (const char* t : {"cab", "Abc", "xyz", "ABD", "Grüße ПРИВЕТ"}) list.AddItem(t);
    EXPECT_EQ(list.FindFirst("GRÜSSE"), -1);  // folding, not transliteration
    EXPECT_EQ(list.FindFirst("GRÜẞE"), -1);
    EXPECT_EQ(list.FindFirst("grÜße привет"), 4);
    EXPECT_EQ(list.FindFirst("ab", 0, true), 1);
    EXPECT_EQ(list.FindFirst("ab", 2, true), 3);
    EXPECT_EQ(list.FindFirst("ab"), 0);  // any occurrence
    EXPECT_EQ(list.FindFirst("YZ", 0, true), -1);
    EXPECT_EQ(list.FindFirst("q"), -1);
    EXPECT_EQ(list.FindFirst("x", 9), -1);
}

TEST_F(ClipListModelTest, SelectModeZeroKeepsOnlyTheCurrentFlag) {
    Fill(5);
    list.SetSelectMode(1);
    for (int i : {0, 2, 4}) list.SetItemSelected(i, true);
    list.SetListIndex(2);
    EXPECT_EQ(list.SelectedCount(), 3);
    list.SetSelectMode(0);
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_TRUE(list.ItemSelected(2));
    // In single selection, selecting makes the item current; deselecting does nothing.
    list.SetItemSelected(4, true);
    EXPECT_EQ(list.ListIndex(), 4);
    list.SetItemSelected(4, false);
    EXPECT_TRUE(list.ItemSelected(4));
}

TEST_F(ClipListModelTest, ModifyKeepsWhatIsNotGivenAndRefocusesTheCurrentRow) {
    Fill(2);
    list.SetListIndex(1);
    rec.log.clear();
    list.ModifyItem(1, std::nullopt, 7);
    EXPECT_EQ(list.ItemText(1), "item1");
    EXPECT_EQ(list.ItemIcon(1), 7);
    EXPECT_EQ(list.ItemIconSelected(1), 2);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"item 1", "focus 1"}));
    list.SetItemIcon(0, -3);  // the indexed property stores any value
    EXPECT_EQ(list.ItemIcon(0), -3);
}

TEST_F(ClipListModelTest, ClearEmptiesWithoutNotifyingTheContainer) {
    Fill(10, 3);
    list.SetListIndex(9);
    rec.log.clear();
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_FALSE(list.ScrollBarShown());
    EXPECT_EQ(rec.Count("ListIndexChange"), 0);
    EXPECT_EQ(rec.log.back(), "clear");
}

}  // namespace
}  // namespace cliplist
