// The keyboard and mouse rules against the model, on a surface that records what the container is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cliplist/ClipListInput.h"
#include "cliplist/ClipListModel.h"

namespace cliplist {
namespace {

class Recorder : public ClipListSurface, public ClipListEvents {
public:
    std::vector<std::string> events;
    void RepaintAll() override {}
    void RepaintItem(int) override {}
    void DrawFocusRect(int) override {}
    void ClearSurface() override {}
    void ShowScrollBar(bool, int) override {}
    void SetScrollRange(int) override {}
    void SetScrollValue(int) override {}
    void DiscardEdit() override {}
    void ListIndexChange() override { events.push_back("ListIndexChange"); }
    void KeyDown(int key, int) override { events.push_back("KeyDown " + std::to_string(key)); }
    void MouseDown(int button, int, float, float) override { events.push_back("MouseDown " + std::to_string(button)); }
};

// Twenty items, five rows of 10 pixels on show.
TEST(ClipListInput, KeysMoveTheCurrentItemAndAreReportedAfterTheChangeTheyCause) {
    Recorder rec;
    ClipListModel list{rec};
    ClipListInput input{list};
    list.SetEvents(&rec);
    ClipListModel::WindowSide(list).SetVisibleRows(5);
    input.SetRowHeight(10);
    input.SetClientHeight(50);
    for (int i = 0; i < 20; ++i) list.AddItem("item" + std::to_string(i), 1, 2);
    rec.events.clear();

    input.MouseDown(kLeftButton, 0, 3, 25);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"ListIndexChange", "MouseDown 1"}));
    EXPECT_EQ(list.ListIndex(), 2);
    const struct {
        int from, key, to;
    } cases[] = {
        {-1, kKeyDown, 0},  {-1, kKeyHome, 0},  {-1, kKeySpace, 0}, {-1, kKeyUp, 19}, {-1, kKeyEnd, 19},  // entering
        {0, kKeyUp, 0},     {3, kKeyUp, 2},     {19, kKeyDown, 19}, {3, kKeyDown, 4},
        {7, kKeyPageUp, 2}, {5, kKeyPageUp, 0}, {3, kKeyPageDown, 8}, {14, kKeyPageDown, 19},
        {13, kKeyPageDown, 18}, {9, kKeyHome, 0}, {2, kKeyEnd, 19},
    };
    for (const auto& c : cases) {
        list.SetListIndex(c.from);
        rec.events.clear();
        input.KeyDown(c.key, 0);
        EXPECT_EQ(list.ListIndex(), c.to) << c.from << " key " << c.key;
        // The change is told, then the key.
        std::vector<std::string> told = {"KeyDown " + std::to_string(c.key)};
        if (c.from != c.to) told.insert(told.begin(), "ListIndexChange");
        EXPECT_EQ(rec.events, told) << c.from << " key " << c.key;
    }
}

// Drawn newest first, the same keys and clicks go by rows on the screen: Down goes to the older item, Home to
// the newest, a click on the top row takes the last item, and the current item scrolls into view by its row.
TEST(ClipListInput, AListDrawnNewestFirstMovesByItsRows) {
    Recorder rec;
    ClipListModel list{rec};
    ClipListInput input{list};
    ClipListModel::WindowSide(list).SetVisibleRows(5);
    input.SetRowHeight(10);
    input.SetClientHeight(50);
    for (int i = 0; i < 20; ++i) list.AddItem("item" + std::to_string(i));
    list.SetReversed(true);
    list.SetListIndex(19);
    EXPECT_EQ(list.TopIndex(), 0);
    input.MouseDown(kLeftButton, 0, 3, 25);
    EXPECT_EQ(list.ListIndex(), 17);
    const struct {
        int from, key, to;
    } cases[] = {{19, kKeyUp, 19}, {17, kKeyDown, 16}, {17, kKeyUp, 18}, {0, kKeyDown, 0},
                 {9, kKeyHome, 19}, {9, kKeyEnd, 0},  {19, kKeyPageDown, 14}};
    for (const auto& c : cases) {
        list.SetListIndex(c.from);
        input.KeyDown(c.key, 0);
        EXPECT_EQ(list.ListIndex(), c.to) << c.from << " key " << c.key;
    }
    list.SetListIndex(0);  // the oldest: the last row
    EXPECT_EQ(list.TopIndex(), 15);
    EXPECT_EQ(list.IndexAt(list.TopIndex()), 4);
}

// Older items listed before the others at once: the current item and the rows in view stay as they were, in
// either order.
TEST(ClipListInput, ItemsInsertedBeforeTheOthersLeaveTheViewAsItWas) {
    for (bool reversed : {false, true}) {
        Recorder rec;
        ClipListModel list{rec};
        ClipListModel::WindowSide(list).SetVisibleRows(5);
        for (int i = 0; i < 20; ++i) list.AddItem("item" + std::to_string(i));
        list.SetReversed(reversed);
        list.SetListIndex(18);
        const int topItem = list.IndexAt(list.TopIndex());
        std::vector<ClipItem> older;
        for (int i = 0; i < 30; ++i) older.push_back({"older" + std::to_string(i)});
        list.InsertItems(0, older);
        ASSERT_EQ(list.ListCount(), 50);
        EXPECT_EQ(list.ItemText(list.ListIndex()), "item18") << reversed;
        EXPECT_EQ(list.ItemText(list.IndexAt(list.TopIndex())), "item" + std::to_string(topItem)) << reversed;
        EXPECT_EQ(list.ItemText(0), "older0");
        EXPECT_EQ(list.ItemText(30), "item0");
        EXPECT_THROW(list.InsertItems(51, older), ClipListError);
    }
}

// Many items removed at once: the others keep their order, the current item stays current where it stays.
TEST(ClipListInput, ItemsRemovedAtOnceKeepTheOthersAndTheCurrentOne) {
    const struct {
        std::vector<int> removed;
        int current, currentAfter;
        const char* left;
    } cases[] = {
        {{0, 2, 9}, 5, 3, "1345678"},
        {{4, 5}, 5, -1, "01236789"},
        {{7, 8, 9}, 1, 1, "0123456"},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 3, -1, ""},
    };
    for (const auto& c : cases) {
        Recorder rec;
        ClipListModel list{rec};
        for (int i = 0; i < 10; ++i) list.AddItem(std::to_string(i));
        list.SetItemPinned(6, true);
        list.SetListIndex(c.current);
        list.RemoveItems(c.removed);
        std::string left;
        for (int i = 0; i < list.ListCount(); ++i) left += list.ItemText(i);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(list.ListIndex(), c.currentAfter) << c.left;
        for (int i = 0; i < list.ListCount(); ++i) EXPECT_EQ(list.ItemPinned(i), list.ItemText(i) == "6") << c.left;
    }
    Recorder rec;
    ClipListModel list{rec};
    list.AddItem("only");
    EXPECT_THROW(list.RemoveItems({1}), ClipListError);
}

}  // namespace
}  // namespace cliplist
