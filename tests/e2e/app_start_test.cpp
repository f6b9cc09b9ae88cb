// Starts the real Ardentia.exe as a user would: it captures a copy, refuses a second instance, closes, and
// shows its clips when started again.
#include <gtest/gtest.h>

#include "support/win32_wait.h"
#include <windows.h>

#include <string>

#include "e2e/RealApp.h"
#include "support/clipboard_peer.h"

namespace {

using namespace realapp;

// A copy made on the X side becomes the first clip of the real program; a second start shows it and leaves.
TEST(AppStart, CapturesACopyRefusesASecondInstanceAndClosesCleanly) {
    Started app;
    const HWND window = StartWithManagerOn(app);
    ASSERT_TRUE(window);

    ASSERT_TRUE(testsupport::CopyUtf8WithXclip("copied while Ardentia runs"));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return InfoLine(window) == "Text Clip - Item 1 of 1"; }, testsupport::kPatientMs))
        << InfoLine(window);

    // Hidden in the tray, it is brought back by a second start, which then ends.
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !IsWindowVisible(window); }, testsupport::kPatientMs));
    Started second;
    Start(second);
    EXPECT_EQ(ExitCodeWithin(second, 10000), 0u);
    EXPECT_EQ(FindAppWindow(second.pi.dwProcessId), nullptr);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }, testsupport::kPatientMs));

    // "/popup" opens the running copy's history popup instead.
    Started third;
    Start(third, "/popup");
    EXPECT_EQ(ExitCodeWithin(third, 10000), 0u);
    EXPECT_TRUE(testsupport::PumpUntil(
        [] {
            HWND popup = FindWindowW(L"ArdentiaHistoryPopup", nullptr);
            return popup && IsWindowVisible(popup);
        }, testsupport::kPatientMs));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeWithin(app, 10000), 0u);

    // Started again, it shows the clip it kept (killed outright, it is killed_during_burst.sh's).
    Started again;
    Start(again);
    HWND restarted = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return (restarted = FindAppWindow(again.pi.dwProcessId)) != nullptr; }, testsupport::kPatientMs));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return InfoLine(restarted) == "Text Clip - Item 1 of 1"; }, testsupport::kPatientMs))
        << InfoLine(restarted);
    PostMessageA(restarted, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeWithin(again, 10000), 0u);
    testsupport::ForgetSettings();
    std::filesystem::remove_all(HistoryFolder());
}

}  // namespace
