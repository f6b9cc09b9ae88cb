// The settings window as a user meets it: values checked, questions asked, and what is saved put in force.
#include "common/WindowDpi.h"
#include "history/FolderKeys.h"
#include "mainwindow/SettingsRules.h"
#include "mainwindow/SettingsWindow.h"
#include "mainwindow/CommandsFixture.h"

namespace mainwindow {
namespace testing_form {
namespace {

// What a user does in the settings window, run inside its loop once it shows.
std::function<void(HWND)> gInSettings;
void CALLBACK RunInSettings(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND settings = FindWindowW(kSettingsWindowClass, nullptr);
    if (!settings) return;
    KillTimer(nullptr, timer);
    gInSettings(settings);
}
// A field's box (problem: the line beside it), by the registry value it keeps.
HWND FieldControl(HWND settings, const char* key, bool problem = false) {
    const auto& fields = SettingFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (std::string(fields[i].key) == key) return GetDlgItem(settings, 200 + 2 * int(i) + (problem ? 1 : 0));
    return nullptr;
}

// Typed wrong (or a hotkey another program holds), a setting says so beside its box and nothing is saved;
// lowering the history's size asks how many clips go, and nothing goes on a no; on a yes the settings are kept
// and in force at once.
TEST_F(CommandsTest, SettingsAreCheckedAskedForAndPutInForce) {
    StartOn();
    for (const char* text : {"a", "b", "c"}) ASSERT_TRUE(CopyText(text));
    std::vector<std::string> problems;
    std::size_t countAfterNo = 0;
    gInSettings = [&](HWND settings) {
        const auto type = [&](const char* key, const char* text) { SetWindowTextA(FieldControl(settings, key), text); };
        const auto ok = [&] { SendMessageW(settings, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); };
        type(shell::kKeyHistorySize, "two");
        type(shell::kKeyIgnorePrograms, "C:\\Tools\\x.exe");
        ok();
        for (const char* key : {shell::kKeyHistorySize, shell::kKeyIgnorePrograms, shell::kKeyHotkey})
            problems.push_back(common::WindowText(FieldControl(settings, key, true)));
        type(shell::kKeyHistorySize, "2");
        type(shell::kKeyIgnorePrograms, "notepad.exe");
        // A combination pressed in the hotkey's box is written there by name.
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(FieldControl(settings, shell::kKeyHotkey), WM_SYSKEYDOWN, 'J', 0);
        keys[VK_CONTROL] = keys[VK_MENU] = 0;
        SetKeyboardState(keys);
        problems.push_back(common::WindowText(FieldControl(settings, shell::kKeyHotkey)));
        type(shell::kKeyHotkey, "Ctrl+Alt+F11");  // held by another window: said while typed
        problems.push_back(common::WindowText(FieldControl(settings, shell::kKeyHotkey, true)));
        ok();
        problems.push_back(common::WindowText(FieldControl(settings, shell::kKeyHotkey, true)));
        type(shell::kKeyHotkey, "Ctrl+Alt+H");
        gAnswer = IDNO;
        ok();
        countAfterNo = std::size_t(Count());
        gAnswer = IDYES;
        ok();
    };
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F11));
    SetTimer(nullptr, 0, 20, RunInSettings);
    Click(form_->SettingsButton());
    UnregisterHotKey(nullptr, 7);
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "Type a whole number from 1 to 100000.",
                            "Name each program by its file name only, as notepad.exe; separate them with ;.", "",
                            "Ctrl+Alt+J", "Another program holds this hotkey: choose another.",
                            "Another program holds this hotkey: choose another."}));
    ASSERT_EQ(gBoxes.size(), 2u);
    EXPECT_EQ(gBoxes[0].text, "Delete the 1 oldest clip beyond the new limits, files and all? Pinned clips stay.");
    EXPECT_EQ(countAfterNo, 3u);
    EXPECT_EQ(shell::GetSetting(shell::kKeyHistorySize, ""), "2");
    EXPECT_EQ(shell::GetSetting(shell::kKeyIgnorePrograms, ""), "notepad.exe");
    EXPECT_FALSE(shell::SettingExists(shell::kKeyHotkey));  // left as it was: not written
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(form_->ClipList().Model().ItemText(0), "b");
    auto& list = form_->ClipList().Model();
    ASSERT_TRUE(testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "d"); },
                                      [&] { return list.ItemText(list.ListCount() - 1) == "d"; }));
    EXPECT_EQ(Count(), 2);  // the new size holds for what comes next
}


// The history taken to another folder asks what becomes of its clips: moved, they are listed from there (sealed
// with its key) and gone from the old folder; copied back, both folders hold them; started empty, the list is
// empty and the files stay. The ticks and this machine's name are kept and in force too.
TEST_F(CommandsTest, TheHistoryFolderAndTheTicksChangeAsTheSettingsSay) {
    StartOn();
    for (const char* text : {"a", "b"}) ASSERT_TRUE(CopyText(text));
    const std::filesystem::path home = history::DefaultHistoryFolder(), elsewhere = home.parent_path() / L"Elsewhere";
    std::filesystem::remove_all(elsewhere);
    const auto filesIn = [](const std::filesystem::path& folder) {
        std::error_code error;
        return history::ClipFilesIn(folder, error).size();
    };
    const auto change = [&](const std::map<const char*, std::string>& typed, const char* answer) {
        gChoiceAnswer = answer;
        gInSettings = [&](HWND settings) {
            for (const auto& [key, text] : typed) {
                HWND box = FieldControl(settings, key);
                if (text == "On" || text == "Off") SendMessageW(box, BM_SETCHECK, text == "On", 0);
                else SetWindowTextA(box, text.c_str());
            }
            SendMessageW(settings, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        };
        SetTimer(nullptr, 0, 20, RunInSettings);
        Click(form_->SettingsButton());
        form_->History().FlushWrites();
    };
    const std::string there = common::Narrow(elsewhere.wstring());
    change({{shell::kKeyHistoryFolder, there}, {shell::kKeyWindowsStartup, "On"}, {shell::kKeyMachineId, "3fa2c01b"},
            {shell::kKeyNewestFirst, "On"}},
           "Move Clips");
    ASSERT_EQ(gChoices.size(), 1u);
    EXPECT_NE(gChoices[0].find("Move Clips: its 2 clips go there."), std::string::npos);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(form_->ClipList().Model().ItemText(1), "b");
    EXPECT_EQ(filesIn(home), 0u);
    EXPECT_EQ(history::ListHistoryFolder(elsewhere, *history::KeyOfFolder(elsewhere).sealer).clips.size(), 2u);
    EXPECT_TRUE(IsTicked(form_->StartWithWindowsBox()));
    EXPECT_TRUE(shell::StartupEntryPresent(shell::ProgramFolder()));
    EXPECT_EQ(shell::GetSetting(shell::kKeyMachineId, ""), "3fa2c01b");
    auto& model = form_->ClipList().Model();
    EXPECT_EQ(model.ItemText(model.IndexAt(0)), "b");  // the newest on the top row
    ASSERT_TRUE(CopyText("c"));
    form_->History().FlushWrites();
    EXPECT_EQ(filesIn(elsewhere), 3u);

    change({{shell::kKeyHistoryFolder, ""}, {shell::kKeyWindowsStartup, "Off"}}, "Copy Clips");
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(filesIn(home), 3u);
    EXPECT_EQ(filesIn(elsewhere), 3u);
    EXPECT_FALSE(shell::StartupEntryPresent(shell::ProgramFolder()));

    change({{shell::kKeyHistoryFolder, there}}, "Start Empty");
    EXPECT_EQ(gChoices.size(), 3u);
    EXPECT_EQ(Count(), 3);  // that folder holds its three still
    change({{shell::kKeyHistoryFolder, common::Narrow((home.parent_path() / L"Third").wstring())}}, "Start Empty");
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(filesIn(elsewhere), 3u);
    std::filesystem::remove_all(elsewhere);
    std::filesystem::remove_all(home.parent_path() / L"Third");
}

// Moved to a monitor of twice the scale, the settings window doubles its controls and its window.
TEST_F(CommandsTest, TheSettingsWindowFollowsAMonitorOfAnotherScale) {
    StartOn();
    SIZE before = {}, after = {}, window = {};
    gInSettings = [&](HWND settings) {
        const auto sizeOf = [](HWND hwnd) {
            RECT r;
            GetWindowRect(hwnd, &r);
            return SIZE{r.right - r.left, r.bottom - r.top};
        };
        HWND ok = GetDlgItem(settings, IDOK);
        before = sizeOf(ok);
        RECT frame;
        GetWindowRect(settings, &frame);
        RECT suggested = {frame.left, frame.top, frame.left + 2 * (frame.right - frame.left),
                          frame.top + 2 * (frame.bottom - frame.top)};
        const int dpi = 2 * common::SystemDpi();
        SendMessageW(settings, 0x02E0, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        after = sizeOf(ok);
        window = sizeOf(settings);
        SendMessageW(settings, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    SetTimer(nullptr, 0, 20, RunInSettings);
    Click(form_->SettingsButton());
    EXPECT_NEAR(after.cx, 2 * before.cx, 2);
    EXPECT_NEAR(after.cy, 2 * before.cy, 2);
    EXPECT_GT(window.cx, 4 * before.cx);
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
