// The main window in this process, against the real registry, clipboard and chain; message boxes and
// the tray's shell requests are answered through their seams.
#include "mainwindow/Form1.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/ClipboardMonitor.h"
#include "mainwindow/ErrorReport.h"
#include "shell/PathHelpers.h"
#include "shell/SettingsStore.h"
#include "shell/TrayRecord.h"
#include "shell/mStartUp.h"
#include "support/clipboard_peer.h"

namespace mainwindow {
namespace {

const char kSection[] = "Software\\Kestrovan\\Ardentia";

struct Box {
    std::string text, title;
};
std::vector<Box> gBoxes;
int RecordBox(HWND, const std::string& text, const std::string& title, UINT) {
    gBoxes.push_back({text, title});
    return IDOK;
}

struct TrayRequest {
    DWORD operation;
    std::uint32_t flags;
    std::string info;
};
std::vector<TrayRequest> gTray;
BOOL WINAPI RecordTray(DWORD operation, PNOTIFYICONDATAA data) {
    shell::TrayRecord record(0, 0);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(data), shell::kTrayRecordSize, record.Bytes());
    gTray.push_back({operation, record.Flags(), reinterpret_cast<const char*>(record.Bytes() + shell::kFieldInfo.offset)});
    return TRUE;
}

std::string Text(HWND control) {
    char text[512] = {};
    GetWindowTextA(control, text, sizeof(text));
    return text;
}

bool Ticked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool StoredKey(const char* key) {
    HKEY section = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSection, 0, KEY_READ, &section) != ERROR_SUCCESS) return false;
    const bool found = RegQueryValueExA(section, key, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(section);
    return found;
}

class Form1Test : public testing::Test {
protected:
    static void SetUpTestSuite() {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageBoxForTesting(RecordBox);
        shell::SetShellNotifyForTesting(RecordTray);
    }
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kSection);
        gBoxes.clear();
        gTray.clear();
    }
    void TearDown() override {
        form_.reset();
        testsupport::PumpFor(50);
        RegDeleteKeyA(HKEY_CURRENT_USER, kSection);
    }
    void Start() {
        form_ = std::make_unique<Form1>();
        ASSERT_TRUE(form_->Load(false));
        form_->Show();
        testsupport::PumpFor(200);
    }
    int Count() { return form_->ClipList().Model().ListCount(); }
    int Balloons() {
        int n = 0;
        for (const auto& r : gTray) n += (r.flags & shell::kNifInfo) && !r.info.empty();
        return n;
    }

    std::unique_ptr<Form1> form_;
};

TEST_F(Form1Test, AFreshProfileStartsOffWithTheDesktopAsOutputFolder) {
    Start();
    EXPECT_EQ(Text(form_->PushButton2()), kManagerOnCaption);
    EXPECT_FALSE(Ticked(form_->Check4()));
    EXPECT_FALSE(Ticked(form_->Check8()));
    EXPECT_TRUE(IsWindowVisible(form_->Check8()));
    EXPECT_EQ(Text(form_->Text2()), shell::DefaultOutputFolder());
    EXPECT_EQ(shell::GetSetting(shell::kKeyOutputFolder, ""), shell::DefaultOutputFolder());
    for (const char* key : {shell::kKeyClipboardSwitch, shell::kKeyWindowsStartup, shell::kKeyMinimized})
        EXPECT_FALSE(StoredKey(key)) << key;
    EXPECT_TRUE(IsWindowVisible(form_->PictureClipLabel()));
    EXPECT_EQ(Text(form_->lblInfo()), "Nothing on Clipboard");
    EXPECT_NE(GetClipboardViewer(), form_->hwnd());
    // No hand cursor beside this test program: the unguarded second load is reported, once.
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].title, "Application Error");
    EXPECT_NE(gBoxes[0].text.find("in Ardentix2016/11/03.Form1.Form_Load at line 8"), std::string::npos);
    EXPECT_TRUE(gTray.empty());  // no icon before the first minimise

    SetWindowTextA(form_->Text2(), "D:\\typed");
    EXPECT_EQ(shell::GetSetting(shell::kKeyOutputFolder, ""), "D:\\typed");
}

TEST_F(Form1Test, OnlyTheExactOnStartsTheManager) {
    for (const char* value : {"on", "ON", "Off", "yes"}) {
        shell::SaveSetting(shell::kKeyClipboardSwitch, value);
        Start();
        EXPECT_EQ(Text(form_->PushButton2()), kManagerOnCaption) << value;
        EXPECT_FALSE(capture::ManagerOn()) << value;
        form_.reset();
    }
}

COLORREF Grey(int, int) { return RGB(128, 128, 128); }

TEST_F(Form1Test, WithTheManagerOnCopiesArePreviewedButTheStartingClipboardIsNot) {
    ASSERT_TRUE(testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "there before"); }, [] { return true; }));
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    Start();
    EXPECT_EQ(Text(form_->PushButton2()), kManagerOffCaption);
    EXPECT_EQ(GetClipboardViewer(), form_->hwnd());
    testsupport::PumpFor(300);
    EXPECT_EQ(Count(), 0);

    ASSERT_TRUE(testsupport::CopyWithXclip("www.example.org"));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 1; }, 5000));
    EXPECT_EQ(Text(form_->lblInfo()), "Web Address - Item 1 of 1");
    EXPECT_EQ(Text(form_->Text1()), "www.example.org");
    EXPECT_FALSE(IsWindowVisible(form_->PictureClipLabel()));

    ASSERT_TRUE(testsupport::PeerCopy([] { SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(10, 10, Grey)); },
                                      [&] { return Count() == 2; }));
    EXPECT_EQ(Text(form_->lblInfo()), "Picture Clip - Item 2 of 2");
    EXPECT_TRUE(IsWindowVisible(form_->Picture1()));
    EXPECT_FALSE(IsWindowVisible(form_->Text1()));
    // 10 px at 96 dpi is 265 HIMETRIC: unstretched at ((4995 - 265) / 2 + 200, (3345 - 265) / 2 + 150) twips.
    RECT image;
    GetWindowRect(form_->Image1().hwnd(), &image);
    MapWindowPoints(nullptr, form_->Picture1(), reinterpret_cast<POINT*>(&image), 2);
    EXPECT_EQ(image.left, 171);
    EXPECT_EQ(image.top, 113);
    EXPECT_EQ(image.right - image.left, 10);
    EXPECT_FALSE(form_->Image1().Stretch());

    const HWND window = form_->hwnd();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(GetClipboardViewer(), window);
}

TEST_F(Form1Test, StartingInTheTrayShowsTheBalloonOnceAndTheIconRestores) {
    shell::SaveSetting(shell::kKeyMinimized, shell::kOn);
    Start();  // the balloon waits its 5 seconds: no shell here reports it closed
    EXPECT_TRUE(Ticked(form_->Check8()));
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

    form_.reset();
    EXPECT_EQ(gTray.back().operation, DWORD(NIM_DELETE));
}

TEST_F(Form1Test, StartWithWindowsBoxKeepsSettingAndEntryInStep) {
    const std::string exe = shell::FirstExecutableIn(shell::ProgramFolder());
    auto entryPresent = [&] {
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\", 0, KEY_READ,
                          &run) != ERROR_SUCCESS)
            return false;
        const bool found = RegQueryValueExA(run, exe.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(run);
        return found;
    };
    shell::RemoveStartupEntry();
    shell::SaveSetting(shell::kKeyWindowsStartup, shell::kOn);
    Start();
    EXPECT_TRUE(Ticked(form_->Check4()));
    EXPECT_FALSE(entryPresent());  // restoring the tick adds nothing

    SendMessageA(form_->Check8(), BM_CLICK, 0, 0);
    EXPECT_EQ(shell::GetSetting(shell::kKeyMinimized, ""), "On");
    SendMessageA(form_->Check4(), BM_CLICK, 0, 0);  // clear
    EXPECT_EQ(shell::GetSetting(shell::kKeyWindowsStartup, ""), "Off");
    EXPECT_EQ(shell::GetSetting(shell::kKeyMinimized, ""), "Off");
    EXPECT_FALSE(Ticked(form_->Check8()));
    EXPECT_FALSE(IsWindowVisible(form_->Check8()));
    SendMessageA(form_->Check4(), BM_CLICK, 0, 0);  // tick
    EXPECT_EQ(shell::GetSetting(shell::kKeyWindowsStartup, ""), "On");
    EXPECT_TRUE(entryPresent());
    EXPECT_TRUE(IsWindowVisible(form_->Check8()));
    shell::RemoveStartupEntry();
}

}  // namespace
}  // namespace mainwindow
