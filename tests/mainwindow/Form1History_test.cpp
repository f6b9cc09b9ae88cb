// The history's own commands in the main window: pins (Ctrl+P in the list and in the popup, Delete and
// Delete All around them), Remember History, and the search above the list.
#include "mainwindow/Form1Fixture.h"

#include "capture/mClip.h"

namespace mainwindow {
namespace testing_form {
namespace {

std::vector<std::string> Tags(int count) {
    std::vector<std::string> tags;
    for (int i = 0; i < count; ++i) tags.push_back(capture::ClipTags().Tag(i));
    return tags;
}

// Pinned by Ctrl+P (in the list and in the popup): Delete Selected says so, Delete All leaves the pin and
// says how many stay, new clips take holders the pin does not hold; a history not remembered keeps the
// pin's file alone, once the user agrees.
TEST_F(Form1Test, PinnedClipsStayWhenDeletingAndAreAllAForgetfulHistoryKeeps) {
    StartOn();
    for (const char* text : {"a", "b", "c"}) ASSERT_TRUE(CopyText(text));
    auto& list = form_->ClipList().Model();
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_MENU] = 0;
    const auto ctrlP = [&](HWND to) {
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(to, WM_KEYDOWN, 'P', 0);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    list.SetListIndex(1);
    ctrlP(form_->ClipList().picList());
    EXPECT_TRUE(list.ItemPinned(1));
    const auto filesStored = [] {
        capture::FlushHistoryWrites();
        return capture::ListHistoryFolder(capture::HistoryFolder()).clips.size();
    };
    EXPECT_EQ(filesStored(), 3u);

    gAnswer = IDYES;
    Click(form_->PushButton1());
    Click(form_->PushButton3());
    ASSERT_EQ(Tags(1), std::vector<std::string>{"TXT1"});
    Click(form_->PushButton3());
    ASSERT_EQ(gBoxes.size(), 3u);
    EXPECT_EQ(gBoxes[0].text, "\"b\" is pinned: unpin it (Ctrl+P) to delete it.");
    EXPECT_EQ(gBoxes[1].text, "Are you sure you wish to delete all unpinned clipboard entries? The pinned clip stays.");
    EXPECT_EQ(gBoxes[2].text, "Every clip is pinned: unpin a clip (Ctrl+P) to delete it.");
    EXPECT_EQ(WindowText(form_->lblInfo()), "Text Clip - Item 1 of 1");
    for (const char* text : {"d", "e"}) ASSERT_TRUE(CopyText(text));
    EXPECT_EQ(Tags(3), (std::vector<std::string>{"TXT1", "TXT0", "TXT2"}));  // TXT1 stays the pin's
    EXPECT_EQ(filesStored(), 3u);

    Click(form_->CheckRemember());
    ASSERT_EQ(gBoxes.size(), 4u);
    EXPECT_EQ(gBoxes[3].text, "Delete the 2 unpinned clips already stored on disk? They stay in the list until the "
                              "program ends; pinned clips stay stored.");
    EXPECT_EQ(filesStored(), 1u);
    EXPECT_EQ(shell::GetSetting(shell::kKeyRememberHistory, ""), "Off");
    // Unpinned from the popup, the last stored clip loses its file; remembered again, every clip is written.
    form_->OpenPopup();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form_->Popup().IsOpen(); }, 5000));
    EXPECT_TRUE(form_->Popup().List().Model().ItemPinned(2));
    SendMessageW(form_->Popup().FilterBox(), WM_KEYDOWN, VK_END, 0);
    ctrlP(form_->Popup().FilterBox());
    EXPECT_FALSE(list.ItemPinned(0));
    EXPECT_FALSE(form_->Popup().List().Model().ItemPinned(2));
    EXPECT_EQ(filesStored(), 0u);
    SendMessageW(form_->Popup().FilterBox(), WM_KEYDOWN, VK_ESCAPE, 0);
    Click(form_->CheckRemember());
    EXPECT_EQ(shell::GetSetting(shell::kKeyRememberHistory, ""), "On");
    EXPECT_EQ(filesStored(), 3u);
}


// The same search above the main list: Ctrl+F reaches it, typing narrows the list to what was found
// (newest first) and the preview follows; it follows captures too; Enter puts back; Escape brings the list back.
TEST_F(Form1Test, TheSearchAboveTheListNarrowsItAndEscapeBringsItBack) {
    StartOn();
    for (const char* text : {"Meeting notes", "SELECT name", "more notes"}) ASSERT_TRUE(CopyText(text));
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_MENU] = 0;
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(form_->ClipList().picList(), WM_KEYDOWN, 'F', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    HWND box = form_->SearchBox();
    EXPECT_EQ(GetFocus(), box);
    auto& search = form_->Search();
    for (char c : std::string("NOTES")) SendMessageW(box, WM_CHAR, WPARAM(c), 0);
    EXPECT_EQ(search.Shown(), (std::vector<int>{2, 0}));
    EXPECT_TRUE(IsWindowVisible(search.List().hwnd()));
    EXPECT_FALSE(IsWindowVisible(form_->ClipListWindow()));
    EXPECT_EQ(WindowText(form_->Text1()), "more notes");
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(WindowText(form_->lblInfo()), "Text Clip - Item 1 of 3");

    ASSERT_TRUE(CopyText("notes again"));
    EXPECT_EQ(search.Shown(), (std::vector<int>{3, 2, 0}));
    EXPECT_EQ(search.Chosen(), 0);  // still the row the user chose
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ClipboardText(), "Meeting notes");
    EXPECT_EQ(form_->ClipList().Model().ItemText(3), "Meeting notes");

    SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WindowText(box), "");
    EXPECT_TRUE(IsWindowVisible(form_->ClipListWindow()));
    EXPECT_FALSE(IsWindowVisible(search.List().hwnd()));
    EXPECT_EQ(Count(), 4);
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
