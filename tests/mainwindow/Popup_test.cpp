// The history popup against real key presses from the X side: the hotkey, typing to filter, Enter and
// Shift+Enter pasting into the program the user was in, Escape giving the focus back.
#include "mainwindow/MainWindowFixture.h"

#include <commctrl.h>

#include <map>

#include "clipboard/ClipboardAccess.h"
#include "mainwindow/PopupRules.h"

namespace mainwindow {
namespace testing_form {
namespace {

// The user's program: a window with a multi-line edit box that takes the focus whenever the window is
// activated, as an editor does.
struct Target {
    HWND window = nullptr, edit = nullptr;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR edit) {
        if (message == WM_SETFOCUS) {
            SetFocus(reinterpret_cast<HWND>(edit));
            return 0;
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    Target() {
        window = CreateWindowExW(0, L"STATIC", L"Ardentia paste target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300,
                                 400, 200, nullptr, nullptr, nullptr, nullptr);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 380, 150, window, nullptr,
                               nullptr, nullptr);
        SetWindowSubclass(window, Proc, 1, reinterpret_cast<DWORD_PTR>(edit));
    }
    ~Target() {
        RemoveWindowSubclass(window, Proc, 1);
        DestroyWindow(window);
    }
    void Focus() {
        SetForegroundWindow(window);
        SetFocus(edit);
        testsupport::PumpUntil([&] { return GetFocus() == edit; }, testsupport::kPatientMs);
    }
    std::string Text() const { return WindowText(edit); }
};

bool X(const std::string& xdotool) { return testsupport::RunUnixShell("xdotool " + xdotool); }

// The hotkey, pressed on the X side while the target has the focus; true once the popup is open and has
// the X keyboard focus, so that typing reaches it.
bool PressHotkey(MainWindow& form) {
    if (!X("search --name 'Ardentia paste target' windowfocus --sync sleep 0.2 key ctrl+alt+h") ||
        !testsupport::PumpUntil([&] { return form.Popup().IsOpen(); }, testsupport::kPatientMs))
        return false;
    std::string focused;
    return testsupport::PumpUntil(
        [&] {
            return testsupport::UnixOutput("xdotool getwindowfocus getwindowname", focused) &&
                   focused == "Ardentia history\n";
        },
        testsupport::kPatientMs);
}

std::string ModifiersDown() {
    std::string down;
    for (int key : {VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN})
        if (GetAsyncKeyState(key) & 0x8000) down += std::to_string(key) + " ";
    return down;
}

bool NoModifierDown() { return ModifiersDown().empty(); }

TEST_F(MainWindowTest, ThePopupFindsByTypingAndPastesWhereTheUserWas) {
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    Start();
    ASSERT_TRUE(CopyText("alpha one"));
    ASSERT_TRUE(CopyWide(L"Grüße 日本 beta"));
    ASSERT_TRUE(CopyRich("{\\rtf1\\ansi Rich \\b bold\\b0\\par}", "Rich bold"));
    ASSERT_TRUE(CopyText("gamma"));
    Target target;
    target.Focus();

    // The hotkey, pressed on the X side while a Wine window has the focus.
    ASSERT_TRUE(PressHotkey(*form_));
    EXPECT_EQ(form_->Popup().Shown(), (std::vector<int>{3, 2, 1, 0}));
    ASSERT_TRUE(X("type --delay 50 'beta'"));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return WindowText(form_->Popup().FilterBox()) == "beta"; },
                                       testsupport::kPatientMs));
    ASSERT_TRUE(
        testsupport::PumpUntil([&] { return form_->Popup().Shown() == std::vector<int>{1}; }, testsupport::kPatientMs))
        << form_->Popup().Shown().size() << " filter [" << WindowText(form_->Popup().FilterBox()) << "] focus "
        << (GetFocus() == form_->Popup().FilterBox());
    ASSERT_TRUE(X("key Return"));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return target.Text() == "Grüße 日本 beta"; }, testsupport::kPatientMs))
        << target.Text();
    EXPECT_FALSE(form_->Popup().IsOpen());
    EXPECT_EQ(form_->ClipList().Model().ItemText(3), "Grüße 日本 beta");  // now the newest
    testsupport::PumpUntil(NoModifierDown, 2000);
    EXPECT_TRUE(NoModifierDown()) << ModifiersDown();

    // Escape: the focus goes back, nothing is pasted. Opened this time as a second start with /popup does.
    SetWindowTextW(target.edit, L"");
    target.Focus();
    PostMessageA(form_->hwnd(), ActivateMessage(), kActivatePopup, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form_->Popup().IsOpen(); }, testsupport::kPatientMs));
    ASSERT_TRUE(X("key Escape"));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !form_->Popup().IsOpen(); }, testsupport::kPatientMs));
    EXPECT_TRUE(
        testsupport::PumpUntil([&] { return GetForegroundWindow() == target.window; }, testsupport::kPatientMs));
    testsupport::PumpFor(300);
    EXPECT_EQ(target.Text(), "");

    // Shift+Enter: the rich clip's plain text only.
    target.Focus();
    PostMessageA(form_->hwnd(), ActivateMessage(), kActivatePopup, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form_->Popup().IsOpen(); }, testsupport::kPatientMs));
    for (char c : std::string("rich")) SendMessageW(form_->Popup().FilterBox(), WM_CHAR, WPARAM(c), 0);
    EXPECT_EQ(form_->Popup().Shown(), (std::vector<int>{1}));  // moved down one by the first paste
    PressWith(VK_SHIFT, form_->Popup().FilterBox(), VK_RETURN);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return target.Text() == "Rich bold"; }, testsupport::kPatientMs))
        << target.Text();
    EXPECT_FALSE(IsClipboardFormatAvailable(clipboard::RichTextFormat()));
    testsupport::PumpUntil(NoModifierDown, 2000);
    EXPECT_TRUE(NoModifierDown()) << ModifiersDown();
}

// A copy captured while the popup is open, the oldest clip going to make room for it, does not change
// which clip the row chosen puts back.
TEST_F(MainWindowTest, APopupChoiceSurvivesACaptureWhileItIsOpen) {
    StartOn();
    for (int i = 0; i < 25; ++i) ASSERT_TRUE(CopyText("clip " + std::to_string(i)));
    PostMessageA(form_->hwnd(), ActivateMessage(), kActivatePopup, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form_->Popup().IsOpen(); }, testsupport::kPatientMs));
    HWND box = form_->Popup().FilterBox();
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);  // "clip 23"
    ASSERT_TRUE(testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "newest"); },
                                      [&] { return form_->ClipList().Model().ItemText(24) == "newest"; }));
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ClipboardText(), "clip 23");
}

// The same search above the main list: Ctrl+F reaches it, typing narrows the list to what was found (in the
// list's order, the newest found chosen) and the preview follows; it follows captures too; Enter puts back;
// Escape brings the list back.
TEST_F(MainWindowTest, TheSearchAboveTheListNarrowsItAndEscapeBringsItBack) {
    StartOn();
    for (const char* text : {"Meeting notes", "SELECT name", "more notes"}) ASSERT_TRUE(CopyText(text));
    PressWith(VK_CONTROL, form_->ClipList().picList(), 'F');
    HWND box = form_->SearchBox();
    EXPECT_EQ(GetFocus(), box);
    auto& search = form_->Search();
    for (char c : std::string("NOTES")) SendMessageW(box, WM_CHAR, WPARAM(c), 0);
    EXPECT_EQ(search.Shown(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(IsWindowVisible(search.List().hwnd()));
    EXPECT_FALSE(IsWindowVisible(form_->ClipListWindow()));
    SettlePreview();
    EXPECT_EQ(WindowText(form_->Preview()), "more notes");
    SendMessageW(box, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 1 of 3");

    ASSERT_TRUE(CopyText("notes again"));
    EXPECT_EQ(search.Shown(), (std::vector<int>{0, 2, 3}));
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

// A search key made once stays with its clip as the list changes (the popup reopened with a long history
// would make them all again); a clip added, or one whose tag came back with another label, gets its own.
TEST(FilteredClipsTest, SearchKeysStayWithTheirClipsAsTheListChanges) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                  nullptr);
    FilteredClips filtered;
    ASSERT_TRUE(filtered.Create(parent, {0, 0, 300, 300}, 20, nullptr, "", false));
    std::map<std::string, std::string> contents = {{"apple", "apple"}, {"banana", "banana"}, {"cherry", "cherry"},
                                                   {"mango", "mango"}, {"kiwi", "kiwi an"}};
    int made = 0;
    std::vector<std::string> labels;  // the main list's
    filtered.labelOf = [&](int position) -> const std::string& { return labels[std::size_t(position)]; };
    filtered.keyOf = [&](const PopupItem& item) {
        ++made;
        return contents[labels[std::size_t(item.position)]];
    };
    const auto items = [&](std::vector<std::pair<int, std::string>> clips) {
        std::vector<PopupItem> made;
        labels.clear();
        for (const auto& [holder, label] : clips) {
            made.push_back({int(made.size()), LabelHash(label), 0, clips::HolderFamily::kText, holder});
            labels.push_back(label);
        }
        return made;
    };
    filtered.SetItems(items({{1, "apple"}, {2, "banana"}, {3, "cherry"}}));
    for (char c : std::string("an")) SendMessageW(filtered.FilterBox(), WM_CHAR, WPARAM(c), 0);
    EXPECT_EQ(made, 3);
    const struct {
        std::vector<std::pair<int, std::string>> clips;
        int madeAgain;
        std::vector<int> shown;  // newest first
    } changes[] = {
        {{{2, "banana"}, {3, "cherry"}, {4, "mango"}}, 1, {2, 0}},       // the oldest gone, one added
        {{{2, "banana"}, {4, "mango"}}, 0, {1, 0}},                      // one in the middle gone
        {{{2, "banana"}, {4, "kiwi"}}, 1, {1, 0}},                       // a tag back with another clip
        {{{5, "cherry"}, {2, "banana"}, {4, "kiwi"}}, 1, {2, 1}},        // an older clip listed before
    };
    for (const auto& change : changes) {
        made = 0;
        filtered.SetItems(items(change.clips));
        EXPECT_EQ(made, change.madeAgain) << change.clips.size();
        EXPECT_EQ(filtered.Shown(), change.shown) << change.clips.size();
    }
    DestroyWindow(parent);
}

// A long list is read in slices: what is found in each joins the others in order, in either order of the list,
// and the newest found is chosen.
TEST(FilteredClipsTest, ALongListIsNarrowedSliceBySliceInOrder) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                  nullptr);
    FilteredClips filtered;
    ASSERT_TRUE(filtered.Create(parent, {0, 0, 300, 300}, 20, nullptr, "", true));
    std::vector<std::string> labels;
    for (int i = 0; i < 10000; ++i) labels.push_back("clip " + std::to_string(i));
    filtered.labelOf = [&](int position) -> const std::string& { return labels[std::size_t(position)]; };
    filtered.keyOf = [&](const PopupItem& item) { return labels[std::size_t(item.position)]; };
    std::vector<PopupItem> items;
    for (int i = 0; i < 10000; ++i)
        items.push_back({i, LabelHash(labels[std::size_t(i)]), 0, clips::HolderFamily::kText, i});
    filtered.SetItems(items);
    for (char c : std::string("99")) SendMessageW(filtered.FilterBox(), WM_CHAR, WPARAM(c), 0);
    std::vector<int> newestFirst;
    for (int i = 9999; i >= 0; --i)
        if (std::to_string(i).find("99") != std::string::npos) newestFirst.push_back(i);
    EXPECT_EQ(filtered.Shown(), newestFirst);
    EXPECT_EQ(filtered.Chosen(), 9999);
    EXPECT_EQ(filtered.List().Model().ItemText(1), "2  clip 9998");
    EXPECT_EQ(filtered.List().Model().ItemText(9), "clip 9990");
    filtered.SetNewestFirst(false);
    EXPECT_EQ(filtered.Shown(), std::vector<int>(newestFirst.rbegin(), newestFirst.rend()));
    EXPECT_EQ(filtered.Chosen(), 9999);
    EXPECT_EQ(filtered.List().Model().ItemText(int(newestFirst.size()) - 2), "2  clip 9998");
    DestroyWindow(parent);
}

// Keys made ahead serve the first search, and another filter over the same clips: typing reads no clip again.
// A list of what is found shows none before something is typed.
TEST(FilteredClipsTest, KeysMadeAheadServeTheFirstSearch) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                  nullptr);
    FilteredClips filtered;
    ASSERT_TRUE(filtered.Create(parent, {0, 0, 300, 300}, 20, nullptr, "", false));
    filtered.ListOnlyWhatIsFound();
    std::vector<std::string> labels;
    for (int i = 0; i < 300; ++i) labels.push_back("clip " + std::to_string(i));
    int made = 0;
    filtered.labelOf = [&](int position) -> const std::string& { return labels[std::size_t(position)]; };
    filtered.keyOf = [&](const PopupItem& item) { return ++made, labels[std::size_t(item.position)]; };
    std::vector<PopupItem> items;
    for (int i = 0; i < 300; ++i)
        items.push_back({i, LabelHash(labels[std::size_t(i)]), 0, clips::HolderFamily::kText, i});
    filtered.SetItems(items);
    EXPECT_TRUE(filtered.Shown().empty());
    while (filtered.MakeKeysAhead(1000)) {
    }
    EXPECT_EQ(made, 300);
    for (char c : std::string("29")) SendMessageW(filtered.FilterBox(), WM_CHAR, WPARAM(c), 0);
    EXPECT_EQ(made, 300);
    EXPECT_EQ(filtered.Shown(), (std::vector<int>{299, 298, 297, 296, 295, 294, 293, 292, 291, 290, 229, 129, 29}));
    // Another filter borrows them: only the clip whose label changed since is read.
    FilteredClips borrower;
    ASSERT_TRUE(borrower.Create(parent, {0, 0, 300, 300}, 20, nullptr, "", true));
    borrower.labelOf = filtered.labelOf;
    borrower.keyOf = filtered.keyOf;
    borrower.BorrowKeysOf(&filtered);
    labels[129] = "clip one";
    items[129].labelHash = LabelHash(labels[129]);
    borrower.SetItems(items);
    for (char c : std::string("29")) SendMessageW(borrower.FilterBox(), WM_CHAR, WPARAM(c), 0);
    EXPECT_EQ(made, 301);
    EXPECT_EQ(borrower.Shown(), (std::vector<int>{299, 298, 297, 296, 295, 294, 293, 292, 291, 290, 229, 29}));
    DestroyWindow(parent);
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
