// The tray control with a real hidden owner window; the shell requests are watched through the seam,
// and the shell's notices are sent as the shell would send them.
#include "shell/cSysTray.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "shell/TrayRecord.h"
#include "support/win32_wait.h"

namespace shell {
namespace {

struct Request {
    DWORD operation;
    TrayRecord record{0, 0};
};
std::vector<Request> gRequests;

BOOL WINAPI RecordRequest(DWORD operation, PNOTIFYICONDATAA data) {
    Request r{operation};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(data), kTrayRecordSize, r.record.Bytes());
    gRequests.push_back(r);
    return TRUE;
}

struct Events : cSysTrayEvents {
    std::vector<std::string> seen;
    void MouseMove(std::int32_t id) override { seen.push_back("move " + std::to_string(id)); }
    void MouseDown(std::int16_t b, std::int32_t id) override { Add("down", b, id); }
    void MouseUp(std::int16_t b, std::int32_t id) override { Add("up", b, id); }
    void MouseDblClick(std::int16_t b, std::int32_t id) override { Add("dbl", b, id); }
    void Add(const char* what, int b, int id) { seen.push_back(std::string(what) + " " + std::to_string(b) + " " + std::to_string(id)); }
};

class SysTrayTest : public testing::Test {
protected:
    void SetUp() override {
        gRequests.clear();
        SetShellNotifyForTesting(RecordRequest);
        owner_ = CreateWindowExA(0, "STATIC", "tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner_);
        tray_ = new cSysTray;
        ASSERT_TRUE(tray_->Create(owner_, 0, 0));
        tray_->SetEvents(&events_);
    }
    void TearDown() override {
        delete tray_;
        DestroyWindow(owner_);
        SetShellNotifyForTesting(nullptr);
    }
    int Count(DWORD operation) const {
        int n = 0;
        for (const auto& r : gRequests) n += r.operation == operation;
        return n;
    }
    void Notice(UINT shellMessage) { SendMessageA(tray_->hwnd(), kTrayCallbackMessage, 0, shellMessage); }

    HWND owner_ = nullptr;
    cSysTray* tray_ = nullptr;
    Events events_;
};

TEST_F(SysTrayTest, InTrayAddsOnceAndRemovesOnce) {
    const LONG_PTR ownProc = GetWindowLongA(tray_->hwnd(), GWL_WNDPROC);
    tray_->SetInTray(false);  // never added: only the flag
    tray_->SetTrayTip("");
    tray_->SetInTray(true);  // an empty tip: added without one
    EXPECT_EQ(gRequests.at(0).record.Flags(), std::uint32_t(kNifIcon | kNifMessage));
    tray_->SetInTray(false);
    tray_->SetTrayTip("Ardentia");  // not in the tray: only stored
    ASSERT_EQ(gRequests.size(), 2u);
    tray_->SetInTray(true);
    tray_->SetInTray(true);
    ASSERT_EQ(Count(NIM_ADD), 2);
    const TrayRecord& add = gRequests.back().record;
    EXPECT_EQ(add.Number(kFieldSize), 488u);
    EXPECT_EQ(add.Flags(), std::uint32_t(kNifIcon | kNifTip | kNifMessage));
    EXPECT_EQ(add.Number(kFieldCallback), 1125u);
    EXPECT_STREQ(reinterpret_cast<const char*>(add.Bytes() + kFieldTip.offset), "Ardentia");
    EXPECT_NE(GetWindowLongA(tray_->hwnd(), GWL_WNDPROC), ownProc);

    tray_->SetTrayTip("Other");  // in the tray: modified at once
    EXPECT_EQ(Count(NIM_MODIFY), 1);
    tray_->SetTrayIcon(nullptr);  // not an icon: ignored
    tray_->SetTrayIcon(reinterpret_cast<HICON>(LoadCursorA(nullptr, IDC_ARROW)));
    EXPECT_EQ(Count(NIM_MODIFY), 1);

    tray_->SetInTray(false);
    tray_->SetInTray(false);
    EXPECT_EQ(Count(NIM_DELETE), 2);
    EXPECT_EQ(gRequests.back().record.Flags(), 0u);
    EXPECT_EQ(GetWindowLongA(tray_->hwnd(), GWL_WNDPROC), ownProc);
    tray_->SetInTray(true);
    delete tray_;  // destruction takes the icon away
    tray_ = nullptr;
    EXPECT_EQ(Count(NIM_DELETE), 3);
}

TEST_F(SysTrayTest, ShellNoticesBecomeMouseEvents) {
    tray_->SetInTray(true);
    for (UINT m : {512u, 516u, 517u, 513u, 514u, 515u, 518u, 519u}) Notice(m);
    const std::vector<std::string> expected = {"move 0", "down 2 0", "up 2 0", "down 1 0",
                                               "up 1 0", "dbl 1 0",  "dbl 2 0"};
    EXPECT_EQ(events_.seen, expected);
    tray_->SetInTray(false);
    Notice(517);  // the procedure is back: no more events
    EXPECT_EQ(events_.seen.size(), expected.size());
}

TEST_F(SysTrayTest, BalloonsShowOnceAndWaitUntilTimeOrTheShellClosesThem) {
    tray_->SetInTray(true);
    for (const char* text : {"first", "second"}) tray_->ShowBalloon(text, "Ardentia", 0, true);
    tray_->ShowBalloon("always", "Ardentia", 0, false);
    tray_->ShowBalloon("third", "Ardentia", 0, true);
    ASSERT_EQ(Count(NIM_MODIFY), 2);
    EXPECT_STREQ(reinterpret_cast<const char*>(gRequests[1].record.Bytes() + kFieldInfo.offset), "first");
    EXPECT_STREQ(reinterpret_cast<const char*>(gRequests[2].record.Bytes() + kFieldInfo.offset), "always");
    EXPECT_EQ(gRequests[2].record.Number(kFieldTimeout), 0u);
    EXPECT_THROW(tray_->ShowBalloon("too long", "", 2147484, false), std::overflow_error);
    EXPECT_EQ(Count(NIM_MODIFY), 2);

    DWORD start = GetTickCount();
    tray_->ShowBalloon("waits", "Ardentia", 1);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 950u);
    EXPECT_LT(waited, 3000u);
    // Time ran out: the balloon is hidden with empty texts.
    EXPECT_EQ(gRequests.back().record.Flags(), std::uint32_t(kNifInfo));
    EXPECT_EQ(gRequests.back().record.Bytes()[kFieldInfo.offset], 0);

    const size_t before = gRequests.size();
    PostMessageA(tray_->hwnd(), kTrayCallbackMessage, 0, 1028);
    start = GetTickCount();
    tray_->ShowBalloon("closed early", "Ardentia", 5);
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_FALSE(tray_->BalloonOpen());
    EXPECT_EQ(gRequests.size(), before + 1);  // no hide request after the shell closed it
}

// The real shell takes the 488-byte record as built.
TEST(SysTrayShell, RealShellAcceptsTheRecord) {
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TrayRecord add(std::uint32_t(reinterpret_cast<std::uintptr_t>(owner)), 0);
    add.SetIcon(std::uint32_t(reinterpret_cast<std::uintptr_t>(LoadIconA(nullptr, IDI_APPLICATION))));
    add.SetTip("Ardentia");
    add.SetCallbackMessage(kTrayCallbackMessage);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, reinterpret_cast<PNOTIFYICONDATAA>(add.Bytes())));
    TrayRecord remove(std::uint32_t(reinterpret_cast<std::uintptr_t>(owner)), 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<PNOTIFYICONDATAA>(remove.Bytes())));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace shell
