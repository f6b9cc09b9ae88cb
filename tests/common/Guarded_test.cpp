#include "common/Guarded.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace common {
namespace {

std::vector<std::string> gReported;
void Record(const std::string& what) { gReported.push_back(what); }

#ifdef _WIN32
LRESULT CALLBACK ThrowingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP)
        return Guarded<LRESULT>([]() -> LRESULT { throw std::runtime_error("the handler threw"); }, 7);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
#endif

TEST(Guarded, WhatThrowsIsReportedAndTheWorkGivesItsFailedResult) {
    gReported.clear();
    FailureReporter() = Record;
    EXPECT_EQ(Guarded<int>([] { return 3; }, -1), 3);
    EXPECT_EQ(Guarded<int>([]() -> int { throw std::length_error("too long"); }, -1), -1);
    EXPECT_EQ(Guarded<int>([]() -> int { throw 42; }, -1), -1);
#ifdef _WIN32
    // Through the system's own dispatch: the window procedure answers, nothing unwinds into user32.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ThrowingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GuardedTestWindow";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND window = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 7);
    DestroyWindow(window);
    EXPECT_EQ(gReported, (std::vector<std::string>{"too long", "an unknown error", "the handler threw"}));
#else
    EXPECT_EQ(gReported, (std::vector<std::string>{"too long", "an unknown error"}));
#endif
    FailureReporter() = nullptr;
}

}  // namespace
}  // namespace common
