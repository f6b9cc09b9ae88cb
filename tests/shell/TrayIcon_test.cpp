// The tray control with a real hidden owner window; the shell requests are watched through the seam,
// and the shell's notices are sent as the shell would send them.
#include "shell/TrayIcon.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/win32_wait.h"

namespace shell {
namespace {

struct Request {
    DWORD operation;
    NOTIFYICONDATAW record;
};
std::vector<Request> gRequests;

BOOL WINAPI RecordRequest(DWORD operation, PNOTIFYICONDATAW data) {
    gRequests.push_back({operation, *data});
    return TRUE;
}

class SysTrayTest : public testing::Test {
protected:
    void SetUp() override {
        gRequests.clear();
        SetShellNotifyForTesting(RecordRequest);
        owner_ = CreateWindowExA(0, "STATIC", "tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner_);
        tray_ = new TrayIcon;
        ASSERT_TRUE(tray_->Create(owner_, 0, 0));
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

    HWND owner_ = nullptr;
    TrayIcon* tray_ = nullptr;
};

TEST_F(SysTrayTest, BalloonsShowOnceAndWaitUntilTimeOrTheShellClosesThem) {
    tray_->SetInTray(true);
    for (const char* text : {"first", "second"}) tray_->ShowBalloon(text, "Ardentia", 0, true);
    tray_->ShowBalloon("always", "Ardentia", 0, false);
    tray_->ShowBalloon("third", "Ardentia", 0, true);
    ASSERT_EQ(Count(NIM_MODIFY), 2);
    EXPECT_STREQ(gRequests[1].record.szInfo, L"first");
    EXPECT_STREQ(gRequests[2].record.szInfo, L"always");
    EXPECT_STREQ(gRequests[2].record.szInfoTitle, L"Ardentia");
    EXPECT_EQ(gRequests[2].record.uTimeout, 0u);
    EXPECT_THROW(tray_->ShowBalloon("too long", "", 2147484, false), std::overflow_error);
    EXPECT_EQ(Count(NIM_MODIFY), 2);

    DWORD start = GetTickCount();
    tray_->ShowBalloon("waits", "Ardentia", 1);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 950u);
    EXPECT_LT(waited, 3000u);
    // Time ran out: the balloon is hidden with empty texts.
    EXPECT_EQ(gRequests.back().record.uFlags, UINT(NIF_INFO));
    EXPECT_STREQ(gRequests.back().record.szInfo, L"");

    const size_t before = gRequests.size();
    PostMessageA(tray_->hwnd(), kTrayCallbackMessage, 0, 1028);
    start = GetTickCount();
    tray_->ShowBalloon("closed early", "Ardentia", 5);
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_FALSE(tray_->BalloonOpen());
    EXPECT_EQ(gRequests.size(), before + 1);  // no hide request after the shell closed it
}

}  // namespace
}  // namespace shell
