// Start-up, the preview of copies, the tray, and the options of the main window.
#include "mainwindow/MainWindowFixture.h"

#include <algorithm>

#include "capture/CaptureClip.h"
#include "history/HistoryBudget.h"
#include "mainwindow/PopupRules.h"
#include "mainwindow/UserMessages.h"

namespace mainwindow {
namespace testing_form {
namespace {

TEST_F(MainWindowTest, AFreshProfileStartsOffWithTheDesktopAsOutputFolder) {
    Start();
    EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOnCaption);
    EXPECT_FALSE(IsTicked(form_->StartWithWindowsBox()));
    EXPECT_FALSE(IsTicked(form_->StartInTrayBox()));
    EXPECT_TRUE(IsWindowVisible(form_->StartInTrayBox()));
    EXPECT_EQ(WindowText(form_->OutputFolderBox()), shell::DefaultOutputFolder());
    EXPECT_EQ(shell::GetSetting(shell::kKeyOutputFolder, ""), shell::DefaultOutputFolder());
    for (const char* key : {shell::kKeyClipboardSwitch, shell::kKeyWindowsStartup, shell::kKeyMinimized})
        EXPECT_FALSE(StoredKey(key)) << key;
    EXPECT_TRUE(IsWindowVisible(form_->EmptyPanel()));
    EXPECT_EQ(WindowText(form_->InformationLine()), "Nothing on Clipboard");
    EXPECT_NE(GetClipboardViewer(), form_->hwnd());
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
    for (std::uint64_t at : {1700000000000ull, 1700000000001ull}) {
        history::ClipFileContents clip;
        clip.header = {clips::kKindText, at, false, "elsewhere"};
        clip.formats = {{"#13", clips::UnicodeTextFormat("from elsewhere " + std::to_string(at)).bytes}};
        const auto file =
            history::HistoryFolder() / history::ClipFileName({at, 0xB0B, history::ContentChecksum(clip.formats)});
        ASSERT_TRUE(history::WriteFileWhole(file, history::WriteClipFile(clip)));
    }
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs));
    EXPECT_FALSE(IsWindowVisible(form_->EmptyPanel()));
    EXPECT_EQ(form_->ClipList().Model().ListIndex(), 1);
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 2 of 2");
}

// A History Size the program does not understand deletes nothing, and the information line says so.
TEST_F(MainWindowTest, AHistorySizeNotUnderstoodDeletesNoClip) {
    std::filesystem::create_directories(history::DefaultHistoryFolder());
    for (std::uint64_t at = 1700000000000; at < 1700000000030; ++at) {
        history::ClipFileContents clip;
        clip.header = {clips::kKindText, at, false, "kept"};
        clip.formats = {{"#13", clips::UnicodeTextFormat("kept " + std::to_string(at)).bytes}};
        ASSERT_TRUE(history::WriteFileWhole(
            history::DefaultHistoryFolder() / history::ClipFileName({at, 0, history::ContentChecksum(clip.formats)}),
            history::WriteClipFile(clip)));
    }
    const DWORD number = 10;
    const struct {
        DWORD type;
        std::wstring text;
    } values[] = {{REG_DWORD, L""}, {REG_SZ, L" 10"}, {REG_SZ, L"ten"}, {REG_SZ, L"100000"}};
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
        EXPECT_EQ(history::ListHistoryFolder(history::DefaultHistoryFolder()).clips.size(), 30u);
    }
}

TEST_F(MainWindowTest, OnlyTheExactOnStartsTheManager) {
    for (const char* value : {"on", "ON", "Off", "yes"}) {
        shell::SaveSetting(shell::kKeyClipboardSwitch, value);
        Start();
        EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOnCaption) << value;
        EXPECT_FALSE(capture::ManagerOn()) << value;
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
    EXPECT_EQ(history::HistoryBudget(), 64u << 20);
    EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOffCaption);
    EXPECT_EQ(GetClipboardViewer(), form_->hwnd());
    testsupport::PumpFor(300);
    capture::CaptureClip();  // announced again, as Wine's bridge may: still the starting clipboard
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
    // 10 px at 96 dpi is 265 HIMETRIC: unstretched at ((4995 - 265) / 2 + 200, (3345 - 265) / 2 + 150) twips.
    RECT image;
    GetWindowRect(form_->ShownPicture().hwnd(), &image);
    MapWindowPoints(nullptr, form_->PicturePanel(), reinterpret_cast<POINT*>(&image), 2);
    EXPECT_EQ(image.left, 171);
    EXPECT_EQ(image.top, 113);
    EXPECT_EQ(image.right - image.left, 10);
    EXPECT_FALSE(form_->ShownPicture().Stretch());

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

TEST_F(MainWindowTest, APictureSmallerThanThePreviewIsNeverEnlarged) {
    StartOn();
    ASSERT_TRUE(CopyPicture(320, 200, Grey));
    RECT frame, image;
    GetClientRect(form_->PicturePanel(), &frame);
    GetWindowRect(form_->ShownPicture().hwnd(), &image);
    MapWindowPoints(nullptr, form_->PicturePanel(), reinterpret_cast<POINT*>(&image), 2);
    ASSERT_GT(frame.right, 320);
    EXPECT_EQ(image.right - image.left, 320);
    EXPECT_EQ(image.bottom - image.top, 200);
    EXPECT_EQ(image.left, (frame.right - 320) / 2);
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

TEST_F(MainWindowTest, StartingInTheTrayShowsTheBalloonOnceAndTheIconRestores) {
    shell::SaveSetting(shell::kKeyMinimized, shell::kOn);
    Start();  // the balloon waits its 5 seconds: no shell here reports it closed
    EXPECT_TRUE(IsTicked(form_->StartInTrayBox()));
    EXPECT_FALSE(IsWindowVisible(form_->hwnd()));
    EXPECT_TRUE(form_->InTray());
    EXPECT_EQ(gTray.at(0).operation, DWORD(NIM_ADD));
    EXPECT_EQ(Balloons(), 1);
    EXPECT_EQ(gTray.back().info, "");  // the timed-out balloon is taken down

    SendMessageA(form_->Tray().hwnd(), shell::kTrayCallbackMessage, 0, 517);  // right button up
    EXPECT_TRUE(IsWindowVisible(form_->hwnd()));
    EXPECT_FALSE(form_->InTray());
    ShowWindow(form_->hwnd(), SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(form_->hwnd()));
    EXPECT_EQ(Balloons(), 1);
    int adds = 0;
    for (const auto& r : gTray) adds += r.operation == NIM_ADD;
    EXPECT_EQ(adds, 1);  // the icon stayed in the tray
    SendMessageA(form_->hwnd(), shell::TaskbarCreatedMessage(), 0, 0);  // the shell restarted
    EXPECT_EQ(gTray.back().operation, DWORD(NIM_ADD));

    form_.reset();
    EXPECT_EQ(gTray.back().operation, DWORD(NIM_DELETE));

    // Closing during the balloon's wait ends the wait at once.
    form_ = std::make_unique<MainWindow>();
    ASSERT_TRUE(form_->Load(false));
    PostMessageA(form_->hwnd(), WM_CLOSE, 0, 0);
    const DWORD started = GetTickCount();
    form_->Show();
    EXPECT_LT(GetTickCount() - started, 2000u);
    EXPECT_FALSE(IsWindow(form_->hwnd()));
    form_.reset();

    // A shell that refuses the icon: the window stays on the taskbar, minimised, not hidden for good.
    gShellRefusesIcons = true;
    Start();
    EXPECT_TRUE(IsWindowVisible(form_->hwnd()));
    EXPECT_TRUE(IsIconic(form_->hwnd()));
    EXPECT_FALSE(form_->InTray());
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

struct Placed {
    HWND control;
    RECT rect;  // in the window's client coordinates
};

// The controls a user sees and uses, not the panels that hold them.
std::vector<Placed> VisibleControls(const MainWindow& form) {
    std::vector<Placed> placed;
    for (HWND control :
         {form.DeleteSelectedButton(), form.ManagerSwitch(), form.DeleteAllButton(), form.SaveResultsButton(),
          form.BrowseFolderButton(), form.StartWithWindowsBox(), form.StartInTrayBox(), form.CheckRemember(),
          form.OutputFolderBox(), form.Preview(), form.InformationLine(), form.ClipListWindow(), form.SearchBox()}) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        placed.push_back({control, r});
    }
    return placed;
}

TEST_F(MainWindowTest, TabReachesEveryControl) {
    Start();
    SetForegroundWindow(form_->hwnd());
    SetFocus(form_->ManagerSwitch());
    std::vector<HWND> reached;
    for (int i = 0; i < 20; ++i) {
        MSG tab = {};
        tab.hwnd = GetFocus();
        tab.message = WM_KEYDOWN;
        tab.wParam = VK_TAB;
        IsDialogMessageA(form_->hwnd(), &tab);
        HWND focus = GetFocus();
        if (GetParent(focus) == form_->ClipListWindow()) focus = form_->ClipListWindow();
        if (std::find(reached.begin(), reached.end(), focus) == reached.end()) reached.push_back(focus);
    }
    for (HWND control :
         {form_->DeleteSelectedButton(), form_->ManagerSwitch(), form_->DeleteAllButton(), form_->SaveResultsButton(),
          form_->BrowseFolderButton(), form_->StartWithWindowsBox(), form_->StartInTrayBox(), form_->CheckRemember(),
          form_->OutputFolderBox(), form_->Preview(), form_->ClipListWindow(), form_->SearchBox()})
        EXPECT_NE(std::find(reached.begin(), reached.end(), control), reached.end()) << WindowText(control);
    const auto at = [&](HWND control) {
        return std::size_t(std::find(reached.begin(), reached.end(), control) - reached.begin());
    };
    EXPECT_EQ((at(form_->SearchBox()) + 1) % reached.size(), at(form_->ClipListWindow()))
        << "the search box comes first";
}

// Every control inside the client area and apart from the others.
void ExpectLaidOut(const MainWindow& form, const std::string& where) {
    RECT client;
    GetClientRect(form.hwnd(), &client);
    const std::vector<Placed> placed = VisibleControls(form);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const RECT& a = placed[i].rect;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right && a.bottom <= client.bottom)
            << WindowText(placed[i].control) << " " << where;
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &a, &placed[j].rect))
                << WindowText(placed[i].control) << " / " << WindowText(placed[j].control) << " " << where;
        }
    }
}

int WidthOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    return r.right - r.left;
}

// Run at 96 dpi here, and at 120 dpi in a prefix of its own (main_window_layout_120dpi): at the default size, at
// others given by messages, maximised, and with the splitter dragged.
TEST_F(MainWindowTest, LayoutKeepsEveryControlInsideTheWindowAndApart) {
    Start();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const std::string at = " at " + std::to_string(dpi) + " dpi";
    RECT client;
    GetClientRect(form_->hwnd(), &client);
    EXPECT_NEAR(client.right, 8040 * dpi / 1440, 1) << dpi;
    // The empty list's words, wrapped in the font used, fit their label.
    HWND empty = GetWindow(form_->EmptyPanel(), GW_CHILD);
    RECT label, needed;
    GetClientRect(empty, &label);
    needed = label;
    HDC dc = GetDC(empty);
    HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(empty, WM_GETFONT, 0, 0)));
    DrawTextW(dc, common::Widen(WindowText(empty)).c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    SelectObject(dc, font);
    ReleaseDC(empty, dc);
    EXPECT_LE(needed.bottom, label.bottom) << WindowText(empty) << at;
    ExpectLaidOut(*form_, "at the default size" + at);

    RECT frame;
    GetWindowRect(form_->hwnd(), &frame);
    const int defaultWidth = frame.right - frame.left, defaultHeight = frame.bottom - frame.top;
    const int listWidth = WidthOf(form_->ClipListWindow()), previewWidth = WidthOf(form_->Preview());
    // Smaller than it may be, it stays at its smallest, which is the default width.
    SetWindowPos(form_->hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(form_->hwnd(), &frame);
    EXPECT_EQ(frame.right - frame.left, defaultWidth) << at;
    EXPECT_LT(frame.bottom - frame.top, defaultHeight) << at;
    ExpectLaidOut(*form_, "at the smallest" + at);
    SetWindowPos(form_->hwnd(), nullptr, 0, 0, defaultWidth + 300, defaultHeight + 200, SWP_NOMOVE | SWP_NOZORDER);
    ExpectLaidOut(*form_, "larger" + at);
    EXPECT_GT(WidthOf(form_->ClipListWindow()) + WidthOf(form_->Preview()), listWidth + previewWidth + 290) << at;
    // The real sizing border, dragged from the X side by its lower right corner.
    GetWindowRect(form_->hwnd(), &frame);
    const RECT unsized = frame;
    const int cornerX = frame.right - 2, cornerY = frame.bottom - 2;
    ASSERT_TRUE(testsupport::RunUnixShell(
        "xdotool mousemove " + std::to_string(cornerX) + " " + std::to_string(cornerY) + " sleep 0.3 mousedown 1 " +
        "sleep 0.3 mousemove " + std::to_string(cornerX + 90) + " " + std::to_string(cornerY + 60) +
        " sleep 0.3 mouseup 1"));
    EXPECT_TRUE(testsupport::PumpUntil([&] {
        GetWindowRect(form_->hwnd(), &frame);
        return frame.right == unsized.right + 90 && frame.bottom == unsized.bottom + 60;
    }, testsupport::kPatientMs)) << frame.right - unsized.right << " x " << frame.bottom - unsized.bottom << at;
    ExpectLaidOut(*form_, "resized by its border" + at);
    ShowWindow(form_->hwnd(), SW_MAXIMIZE);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return IsZoomed(form_->hwnd()); }, testsupport::kPatientMs));
    ExpectLaidOut(*form_, "maximised" + at);
    ShowWindow(form_->hwnd(), SW_RESTORE);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !IsZoomed(form_->hwnd()); }, testsupport::kPatientMs));

    // The splitter, between list and preview, dragged 60 pixels right: the list gains what the preview loses.
    RECT list;
    GetWindowRect(form_->ClipListWindow(), &list);
    MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&list), 2);
    const int before = WidthOf(form_->ClipListWindow()), beforePreview = WidthOf(form_->Preview());
    const int x = list.right + 2, y = (list.top + list.bottom) / 2;
    SendMessageW(form_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(form_->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 60, y));
    SendMessageW(form_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x + 60, y));
    EXPECT_EQ(WidthOf(form_->ClipListWindow()), before + 60) << at;
    EXPECT_EQ(WidthOf(form_->Preview()), beforePreview - 60) << at;
    ExpectLaidOut(*form_, "with the splitter dragged" + at);

    // Size and splitter come back with the next start.
    GetWindowRect(form_->hwnd(), &frame);
    form_.reset();
    Start();
    RECT again;
    GetWindowRect(form_->hwnd(), &again);
    EXPECT_EQ(again.right - again.left, frame.right - frame.left) << at;
    EXPECT_EQ(again.bottom - again.top, frame.bottom - frame.top) << at;
    EXPECT_EQ(WidthOf(form_->ClipListWindow()), before + 60) << at;
}

// A place kept from a screen that is no longer there (a monitor unplugged) comes back onto this one.
TEST_F(MainWindowTest, AWindowKeptOffTheScreenStartsOnIt) {
    shell::SaveSetting("Window Placement", "9000 7000 600 520 0 2535");
    Start();
    RECT frame;
    GetWindowRect(form_->hwnd(), &frame);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(form_->hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor));
    RECT on;
    EXPECT_TRUE(IntersectRect(&on, &frame, &monitor.rcWork));
    EXPECT_GE(frame.left, monitor.rcWork.left);
    EXPECT_LE(frame.bottom, monitor.rcWork.bottom);
    EXPECT_EQ(frame.right - frame.left, 600);
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
