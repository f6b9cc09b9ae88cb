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

}  // namespace
}  // namespace cliplist
