// Proves the harness reaches the real clipboard: a viewer window in the chain is told of a copy made
// by another process (xclip on the X side) and reads the copied text back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/win32_wait.h"

namespace {

struct Viewer {
    HWND next = nullptr;
    int draws = 0;
    std::string text;
};
Viewer gViewer;

std::string ReadClipboardText(HWND owner) {
    std::string text;
    // Another program may hold the clipboard open for a moment.
    for (int attempt = 0; attempt < 20 && !OpenClipboard(owner); ++attempt) Sleep(10);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text.assign(p, strnlen(p, GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DRAWCLIPBOARD:
        ++gViewer.draws;
        if (IsClipboardFormatAvailable(CF_TEXT)) gViewer.text = ReadClipboardText(hwnd);
        if (gViewer.next) SendMessageA(gViewer.next, msg, wp, lp);
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wp) == gViewer.next)
            gViewer.next = reinterpret_cast<HWND>(lp);
        else if (gViewer.next)
            SendMessageA(gViewer.next, msg, wp, lp);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class ClipboardChain : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ViewerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ArdentiaTestViewer";
        ASSERT_TRUE(RegisterClassA(&wc)) << "RegisterClass error " << GetLastError();
        hwnd_ = CreateWindowA(wc.lpszClassName, "viewer", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
        ASSERT_NE(hwnd_, nullptr) << "CreateWindow error " << GetLastError();
        gViewer = Viewer();
        gViewer.next = SetClipboardViewer(hwnd_);
    }
    void TearDown() override {
        if (hwnd_) {
            ChangeClipboardChain(hwnd_, gViewer.next);
            DestroyWindow(hwnd_);
        }
        UnregisterClassA("ArdentiaTestViewer", GetModuleHandleA(nullptr));
    }
    HWND hwnd_ = nullptr;
};

TEST_F(ClipboardChain, JoinedViewerIsHeadOfChain) {
    EXPECT_EQ(GetClipboardViewer(), hwnd_);
}

TEST_F(ClipboardChain, CopyInAnotherProcessReachesTheViewer) {
    testsupport::PumpFor(300);  // joining itself sends one notice
    const int drawsBefore = gViewer.draws;
    const std::string copied = "ardentia-chain-" + std::to_string(GetTickCount());
    ASSERT_TRUE(testsupport::CopyWithXclip(copied)) << "CreateProcess error " << GetLastError();

    EXPECT_TRUE(testsupport::PumpUntil([&] { return gViewer.text == copied; }, 10000))
        << "last text seen: '" << gViewer.text << "'";
    EXPECT_GT(gViewer.draws, drawsBefore);
}

}  // namespace
