// Start-up, the preview of copies, the tray, and the options of the main window.
#include "mainwindow/MainWindowFixture.h"

#include <algorithm>

#include "capture/CaptureClip.h"
#include "mainwindow/PopupRules.h"
#include "mainwindow/UserMessages.h"
#include "history/FolderKeys.h"
#include "history/RecoveryCode.h"
#include "support/stored_clips.h"

namespace mainwindow {
namespace testing_form {
namespace {

TEST_F(MainWindowTest, AFreshProfileStartsOffWithTheDesktopAsOutputFolder) {
    Start();
    EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOnCaption);
    EXPECT_FALSE(IsTicked(form_->StartWithWindowsBox()));
    EXPECT_FALSE(IsTicked(form_->StartInTrayBox()));
    EXPECT_EQ(WindowText(form_->OutputFolderBox()), shell::DefaultOutputFolder());
    EXPECT_EQ(shell::GetSetting(shell::kKeyOutputFolder, ""), shell::DefaultOutputFolder());
    for (const char* key : {shell::kKeyClipboardSwitch, shell::kKeyWindowsStartup, shell::kKeyMinimized})
        EXPECT_FALSE(StoredKey(key)) << key;
    EXPECT_TRUE(IsWindowVisible(form_->EmptyPanel()));
    // No hand cursor beside this test program: the unguarded second load is reported, once.
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].title, "Application Error");
    EXPECT_NE(gBoxes[0].text.find("in Ardentix2016/11/03.Form1.Form_Load at line 8"), std::string::npos);
    EXPECT_TRUE(gTray.empty());  // no icon before the first minimise

    SetWindowTextA(form_->OutputFolderBox(), "D:\\typed");
    EXPECT_EQ(shell::GetSetting(shell::kKeyOutputFolder, ""), "D:\\typed");

    // The empty list says whether anything will be collected, and how clips come back.
    HWND empty = GetWindow(form_->EmptyPanel(), GW_CHILD);
    EXPECT_EQ(WindowText(empty), EmptyListText(false, kDefaultHotkey));
    Click(form_->ManagerSwitch());
    EXPECT_EQ(WindowText(empty), EmptyListText(true, kDefaultHotkey));
}

// Clips another machine writes into the shared folder show as a capture's do: the empty list's words go
// and the list stands on the newest, so that a click reaches the rows.
TEST_F(MainWindowTest, ClipsFromAnotherMachineFillAnEmptyList) {
    StartOn();
    ASSERT_TRUE(IsWindowVisible(form_->EmptyPanel()));
    const auto key = history::KeyOfFolder(form_->History().Folder());
    ASSERT_TRUE(key.sealer);
    for (std::uint64_t at : {1700000000000ull, 1700000000001ull})
        ASSERT_FALSE(testsupport::StoreTextClip(form_->History().Folder(), *key.sealer, at, "from " + std::to_string(at),
                                                0xB0B).empty());
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs));
    EXPECT_FALSE(IsWindowVisible(form_->EmptyPanel()));
    EXPECT_EQ(form_->ClipList().Model().ListIndex(), 1);
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 2 of 2");
    // Moving to a clip only its file holds reads no file on the way: the preview reads it after.
    const clips::ClipId older = form_->Clips().Tags().Tag(0);
    ASSERT_TRUE(form_->History().UnloadClip(older));
    form_->ClipList().Model().SetListIndex(0);
    EXPECT_FALSE(form_->History().ClipHeld(older));
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 1 of 2");
    EXPECT_TRUE(testsupport::PumpUntil([&] { return WindowText(form_->Preview()) == "from 1700000000000"; },
                                       testsupport::kPatientMs));
    EXPECT_TRUE(form_->History().ClipHeld(older));
}

// A Windows reinstalled: the folder's key is no longer this user's, and its recovery code opens the folder.
TEST_F(MainWindowTest, AFolderWhoseKeyIsNoLongerHeldOpensWithItsRecoveryCode) {
    const auto key = history::KeyOfFolder(history::DefaultHistoryFolder());
    ASSERT_TRUE(key.sealer);
    ASSERT_FALSE(testsupport::StoreTextClip(history::DefaultHistoryFolder(), *key.sealer, 1700000000000, "kept").empty());
    const std::string code = history::RecoveryCode(key.sealer->KeyBytes());
    testsupport::ForgetSettings();
    gTyped = {std::string(code).replace(0, 1, code[0] == '7' ? "8" : "7"), code};
    Start();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 1; }, testsupport::kPatientMs));
    EXPECT_EQ(gToldOfTyped, (std::vector<std::string>{"The recovery code does not open this history folder: nothing "
                                                      "is listed from it or written to it.",
                                                      ""}));
    gBoxes.clear();
    form_->ShowRecoveryCode();
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(gBoxes[0].text.find(code), std::string::npos);
}

// A History Size the program does not understand deletes nothing, and the information line says so.
TEST_F(MainWindowTest, AHistorySizeNotUnderstoodDeletesNoClip) {
    const auto key = history::KeyOfFolder(history::DefaultHistoryFolder());
    ASSERT_TRUE(key.sealer);
    for (std::uint64_t at = 1700000000000; at < 1700000000030; ++at)
        ASSERT_FALSE(testsupport::StoreTextClip(history::DefaultHistoryFolder(), *key.sealer, at,
                                                "kept " + std::to_string(at), 0).empty());
    const DWORD number = 10;
    const struct {
        DWORD type;
        std::wstring text;
    } values[] = {{REG_DWORD, L""}, {REG_SZ, L" 10"}, {REG_SZ, L"ten"}, {REG_SZ, L"100001"}};
    for (const auto& value : values) {
        HKEY section = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &section, nullptr),
            ERROR_SUCCESS);
        const BYTE* data = value.type == REG_DWORD ? reinterpret_cast<const BYTE*>(&number)
                                                   : reinterpret_cast<const BYTE*>(value.text.c_str());
        const DWORD bytes = value.type == REG_DWORD ? sizeof(number) : DWORD((value.text.size() + 1) * sizeof(wchar_t));
        RegSetValueExW(section, L"History Size", 0, value.type, data, bytes);
        RegCloseKey(section);
        Start();
        EXPECT_EQ(Count(), 30);
        EXPECT_EQ(WindowText(form_->InformationLine()),
                  "The setting \"History Size\" is not understood: no clip is deleted for it");
        form_.reset();
        EXPECT_EQ(history::ListHistoryFolder(history::DefaultHistoryFolder(), *key.sealer).clips.size(), 30u);
    }
}

TEST_F(MainWindowTest, OnlyTheExactOnStartsTheManager) {
    for (const char* value : {"on", "ON", "Off", "yes"}) {
        shell::SaveSetting(shell::kKeyClipboardSwitch, value);
        Start();
        EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOnCaption) << value;
        EXPECT_FALSE(form_->Monitor().ManagerOn()) << value;
        form_.reset();
    }
}

TEST_F(MainWindowTest, AnUnknownHotkeySettingIsToldAndTheDefaultServes) {
    shell::SaveSetting(shell::kKeyHotkey, "Ctrl+Banana");
    Start();
    EXPECT_EQ(WindowText(form_->InformationLine()), "The hotkey \"Ctrl+Banana\" is not one Ardentia knows: Ctrl+Alt+H is used");
}

// The system's message box, not the seam: it shows every character it is given.
TEST_F(MainWindowTest, MessagesShowEveryCharacter) {
    DialogUser user(IDOK);
    SetMessageBoxForTesting(nullptr);
    ShowMessageBox(nullptr, "1 clip could not be saved: Z:\\Grüße 日本 ✓\\TXT0.txt", "Ardentia", MB_OK);
    SetMessageBoxForTesting(RecordBox);
    EXPECT_TRUE(Showed(user.Texts(), L"1 clip could not be saved: Z:\\Grüße 日本 ✓\\TXT0.txt"));
}

COLORREF Grey(int, int) { return RGB(128, 128, 128); }

TEST_F(MainWindowTest, WithTheManagerOnCopiesArePreviewedButTheStartingClipboardIsNot) {
    ASSERT_TRUE(testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "there before"); }, [] { return true; }));
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    shell::SaveSetting(shell::kKeyHistoryBudget, "64");
    Start();
    EXPECT_EQ(form_->History().Budget(), 64u << 20);
    EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOffCaption);
    EXPECT_EQ(GetClipboardViewer(), form_->hwnd());
    testsupport::PumpFor(300);
    capture::CaptureClip(form_->Monitor());  // announced again, as Wine's bridge may: still the starting clipboard
    EXPECT_EQ(Count(), 0);

    ASSERT_TRUE(testsupport::CopyUtf8WithXclip("www.example.org"));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 1; }, testsupport::kPatientMs));
    EXPECT_EQ(WindowText(form_->InformationLine()), "Web Address - Item 1 of 1");
    SettlePreview();
    EXPECT_EQ(WindowText(form_->Preview()), "www.example.org");
    EXPECT_FALSE(IsWindowVisible(form_->EmptyPanel()));

    ASSERT_TRUE(CopyPicture(10, 10, Grey));
    EXPECT_EQ(WindowText(form_->InformationLine()), "Picture Clip - Item 2 of 2");
    EXPECT_TRUE(IsWindowVisible(form_->PicturePanel()));
    EXPECT_FALSE(IsWindowVisible(form_->Preview()));
    // Every character reaches the label, the preview and the line; the user's window keeps the focus.
    HWND other = CreateWindowA("STATIC", "user's program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(testsupport::CopyUtf8WithXclip("Grüße 日本 ✓ € Привет שלום 😀"));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 3; }, testsupport::kPatientMs));
    SettlePreview();
    EXPECT_EQ(form_->ClipList().Model().ItemText(2), "Grüße 日本 ✓ € Привет שלום 😀");
    EXPECT_EQ(WindowText(form_->Preview()), "Grüße 日本 ✓ € Привет שלום 😀");
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 3 of 3");
    wchar_t label[64] = {};
    SendMessageW(form_->ClipListWindow(), LB_GETTEXT, 2, reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(std::wstring(label), L"Grüße 日本 ✓ € Привет שלום \U0001F600");
    EXPECT_EQ(GetForegroundWindow(), other);
    DestroyWindow(other);

    const HWND window = form_->hwnd();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(GetClipboardViewer(), window);
}

TEST_F(MainWindowTest, TheHourglassWinsOverTheList) {
    Start();
    HWND surface = form_->ClipList().picList();
    const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    SetHourglass(true);
    SendMessageA(surface, WM_SETCURSOR, WPARAM(surface), hit);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    SetHourglass(false);
    SendMessageA(surface, WM_SETCURSOR, WPARAM(surface), hit);
    EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
}

TEST_F(MainWindowTest, StartWithWindowsBoxKeepsSettingAndEntryInStep) {
    auto entryPresent = [] { return shell::StartupEntryPresent(shell::ProgramFolder()); };
    shell::RemoveStartupEntry();
    shell::SaveSetting(shell::kKeyWindowsStartup, shell::kOn);
    Start();
    EXPECT_TRUE(IsTicked(form_->StartWithWindowsBox()));
    EXPECT_FALSE(entryPresent());  // restoring the tick adds nothing

    SendMessageA(form_->StartInTrayBox(), BM_CLICK, 0, 0);
    EXPECT_EQ(shell::GetSetting(shell::kKeyMinimized, ""), "On");
    SendMessageA(form_->StartWithWindowsBox(), BM_CLICK, 0, 0);  // clear
    EXPECT_EQ(shell::GetSetting(shell::kKeyWindowsStartup, ""), "Off");
    EXPECT_EQ(shell::GetSetting(shell::kKeyMinimized, ""), "Off");
    EXPECT_FALSE(IsTicked(form_->StartInTrayBox()));
    EXPECT_FALSE(IsWindowVisible(form_->StartInTrayBox()));
    EXPECT_FALSE(entryPresent());
    SendMessageA(form_->StartWithWindowsBox(), BM_CLICK, 0, 0);  // tick
    EXPECT_EQ(shell::GetSetting(shell::kKeyWindowsStartup, ""), "On");
    EXPECT_TRUE(entryPresent());
    EXPECT_TRUE(IsWindowVisible(form_->StartInTrayBox()));
    shell::RemoveStartupEntry();
}

// The system's app theme read from the registry: dark, the lists, the preview and the search box are light
// text on dark; told that the theme is light again, the window takes its own colours back.
TEST_F(MainWindowTest, TheWindowFollowsTheSystemsAppTheme) {
    const wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    const auto setTheme = [&](DWORD light) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
        RegSetValueExW(key, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light), sizeof(light));
        RegCloseKey(key);
    };
    struct Forget {
        const wchar_t* key;
        ~Forget() {
            HKEY opened = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_WRITE, &opened) != 0) return;
            RegDeleteValueW(opened, L"AppsUseLightTheme");
            RegCloseKey(opened);
        }
    } forget{kPersonalize};
    setTheme(0);
    Start();
    const auto colours = [&](HWND control, UINT message) {
        HDC dc = GetDC(control);
        SendMessageW(form_->hwnd(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        const std::pair<COLORREF, COLORREF> backAndText{GetBkColor(dc), GetTextColor(dc)};
        ReleaseDC(control, dc);
        return backAndText;
    };
    const std::pair<COLORREF, COLORREF> lightOnDark{0x202020, 0xF0F0F0};
    EXPECT_EQ(form_->ClipList().BackNormal(), 0x202020u);
    EXPECT_EQ(form_->ClipList().FontNormal(), 0xF0F0F0u);
    EXPECT_EQ(form_->Search().List().BackNormal(), 0x202020u);
    EXPECT_EQ(colours(form_->Preview(), WM_CTLCOLORSTATIC), lightOnDark);
    EXPECT_EQ(colours(form_->Search().FilterBox(), WM_CTLCOLOREDIT), lightOnDark);
    setTheme(1);
    SendMessageW(form_->hwnd(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    EXPECT_NE(form_->ClipList().BackNormal(), 0x202020u);
    EXPECT_EQ(colours(form_->Preview(), WM_CTLCOLORSTATIC).first, COLORREF(0xFFFFFF));
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
