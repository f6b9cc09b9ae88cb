// The real control fed real input messages: keys, clicks and the wheel, the edit box, list-box queries.
#include "cliplist/ClipListControlFixture.h"
#include "common/WindowText.h"

namespace cliplist {
namespace {

class ClipListInputWin : public ClipListControlTest {
protected:
    void SetUp() override { Make(20, 20, 200, 150, 40); }
};

TEST_F(ClipListInputWin, KeysAndTheWheelReachTheList) {
    auto& model = list.Model();
    SendMessageA(list.picList(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(model.ListIndex(), 0);  // a keyboard user enters the list
    // Enter and Escape are the list's, not the dialog manager's; Tab still moves on.
    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE), WPARAM(VK_TAB)}) {
        MSG pending = {list.picList(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        const LRESULT code = SendMessageA(list.picList(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&pending));
        EXPECT_EQ((code & DLGC_WANTMESSAGE) != 0, key != VK_TAB) << key;
    }
    SendMessageA(list.picList(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(model.ListIndex(), 39);
    SendMessageA(list.picList(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(model.TopIndex(), 0);
    SendMessageA(list.picList(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), At(30, 30));
    EXPECT_EQ(model.TopIndex(), 3);
    EXPECT_EQ(model.ListIndex(), 0);  // the wheel scrolls, it does not select
}

TEST_F(ClipListInputWin, InPlaceEditingKeepsOnlyWhatIsCommitted) {
    auto& model = list.Model();
    list.StartEdit();  // nothing current
    EXPECT_FALSE(list.Editing());
    list.EndEdit(true);  // nothing open
    EXPECT_FALSE(list.Editing());

    model.SetListIndex(30);
    model.ScrollTo(0);
    list.StartEdit();  // scrolled into view first
    ASSERT_TRUE(list.Editing());
    EXPECT_LE(model.TopIndex(), 30);
    EXPECT_GE(model.TopIndex() + model.VisibleRows() - 1, 30);
    EXPECT_TRUE(IsWindowVisible(list.txtEdit()));
    char shown[64] = {};
    GetWindowTextA(list.txtEdit(), shown, sizeof(shown));
    EXPECT_STREQ(shown, "item 30");
    SetWindowTextA(list.txtEdit(), "typed");
    SendMessageA(list.txtEdit(), WM_CHAR, 27, 0);
    EXPECT_FALSE(list.Editing());
    EXPECT_EQ(model.ItemText(30), "item 30");

    list.StartEdit();
    // Unicode both ways.
    SetWindowTextW(list.txtEdit(), L"new text 日本 ✓");
    SendMessageA(list.txtEdit(), WM_CHAR, 13, 0);
    EXPECT_EQ(model.ItemText(30), "new text 日本 ✓");
    SendMessageA(list.picList(), WM_KEYDOWN, VK_UP, 0);  // the list has its keys back
    EXPECT_EQ(model.ListIndex(), 29);

    list.StartEdit();
    SetWindowTextA(list.txtEdit(), "dropped");
    SendMessageA(list.picList(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 2));  // a click into the list
    SendMessageA(list.picList(), WM_LBUTTONUP, 0, At(5, 2));
    EXPECT_FALSE(list.Editing());
    EXPECT_EQ(model.ItemText(29), "item 29");
    EXPECT_EQ(model.ListIndex(), model.TopIndex());
}

}  // namespace
}  // namespace cliplist
