// Drives the real Ardentia.exe hard from another program: a burst of copies as fast as they can be made,
// a long file list, a clipboard held open, a viewer killed in the chain. It must neither hang nor crash,
// keep its place in the chain, and go on capturing.
#include <cstdio>

#include "e2e/RealApp.h"
#include "support/clipboard_peer.h"
#include "support/helper_viewer.h"

namespace {

using namespace realapp;

// Another process's edit box gives its text only when asked by message.
std::string WindowText(HWND control) {
    char text[256] = {};
    SendMessageA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// Answers within a second: the window is handling its messages.
bool Responsive(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored) != 0;
}

class AppStress : public ::testing::Test {
protected:
    void SetUp() override {
        window = StartWithManagerOn(app);
        ASSERT_TRUE(window);
        list = FindChild(window, [](HWND, const std::string& cls) { return cls == "ArdentiaClipList"; });
        // The text preview (the multi-line edit): what the newest capture showed.
        preview = FindChild(window, [](HWND child, const std::string& cls) {
            return lstrcmpiA(cls.c_str(), "Edit") == 0 && (GetWindowLongA(child, GWL_STYLE) & ES_MULTILINE);
        });
        ASSERT_TRUE(list && preview);
    }
    void TearDown() override {
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        ExitCodeWithin(app, 10000);
        testsupport::ForgetSettings();
        std::filesystem::remove_all(HistoryFolder());
    }
    bool Alive() { return WaitForSingleObject(app.pi.hProcess, 0) == WAIT_TIMEOUT; }
    int Count() { return int(SendMessageA(list, LB_GETCOUNT, 0, 0)); }
    // The list read as a screen reader or script would. Wine hands an ANSI caller from another process
    // the UTF-16 reply unconverted, so the query is made in UTF-16.
    std::string ListText(int index) {
        wchar_t text[256] = {};
        if (SendMessageW(list, LB_GETTEXTLEN, index, 0) >= 256) return "<too long>";
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
        char narrow[512] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
        return narrow;
    }
    bool StillCaptures(const std::string& text, DWORD timeoutMs = 10000) {
        return testsupport::PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); },
                                     [&] { return WindowText(preview) == text; }, timeoutMs);
    }

    Started app;
    HWND window = nullptr;
    HWND list = nullptr;
    HWND preview = nullptr;
};

TEST_F(AppStress, ABurstOfAThousandCopiesLeavesItCapturingAndFirstInTheChain) {
    std::atomic<bool> done{false};
    std::thread peer([&] {
        HWND owner = CreateWindowA("STATIC", "burst", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        for (int i = 0; i < 1000; ++i) {
            // A program that copies also answers its messages (emptying the clipboard asks it to let go).
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
            if (!OpenClipboard(owner)) continue;
            EmptyClipboard();
            testsupport::OfferText(CF_TEXT, "burst " + std::to_string(i));
            CloseClipboard();
        }
        DestroyWindow(owner);
        done = true;
    });
    testsupport::PumpUntil([&] { return bool(done); }, 120000);
    peer.join();
    testsupport::PumpFor(2000);
    ASSERT_TRUE(Alive());
    EXPECT_TRUE(Responsive(window));
    EXPECT_LE(Count(), 25);
    EXPECT_EQ(GetClipboardViewer(), window);
    std::printf("burst: %d clips held, the newest \"%s\", the information line \"%s\"\n", Count(),
                WindowText(preview).c_str(), InfoLine(window).c_str());
    EXPECT_TRUE(StillCaptures("after the burst"));
    EXPECT_EQ(ListText(Count() - 1), "after the burst");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), Count() - 1);
}

// A viewer ahead of the program opens the clipboard on a change, passes the notice on and keeps the
// clipboard open for 2 s: the program must wait for it, stay responsive, and then take the copy.
TEST_F(AppStress, AClipboardHeldOpenForTwoSecondsDelaysButDoesNotStopCapturing) {
    ASSERT_TRUE(StillCaptures("before the hold"));
    const int before = Count();
    testsupport::TestViewer ahead;
    ahead.Join();
    ahead.holdMs = 2000;
    std::atomic<bool> copied{false};
    bool answered = true;
    std::thread pinger([&] {
        while (!copied) answered = Responsive(window) && answered;
    });
    testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "copied then held"); },
                          [&] { return WindowText(preview) == "copied then held"; }, testsupport::kPatientMs);
    copied = true;
    pinger.join();
    EXPECT_EQ(ahead.holdMs, 0u);  // the hold took place
    EXPECT_TRUE(answered);
    // One clip, the copy itself, never an empty one for the read that could not be made.
    EXPECT_EQ(WindowText(preview), "copied then held");
    EXPECT_EQ(Count(), before + 1);
    EXPECT_EQ(ListText(Count() - 1), "copied then held");
    ahead.Leave();
    EXPECT_EQ(GetClipboardViewer(), window);
    ASSERT_TRUE(Alive());
    EXPECT_TRUE(StillCaptures("after the hold"));
}

// Another program joins the chain and is killed there without leaving it: first while it stands ahead
// of this one, then behind it (each capture rejoins the chain, so the helper falls behind).
TEST_F(AppStress, AViewerKilledInTheChainDoesNotStopCapturing) {
    for (const char* where : {"ahead", "behind"}) {
        testsupport::HelperViewer helper("pass");
        ASSERT_TRUE(helper.Joined(window)) << where;
        if (std::string(where) == "behind") {
            ASSERT_TRUE(StillCaptures("through the helper"));
        }
        helper.Kill();
        EXPECT_TRUE(StillCaptures(std::string("after the kill ") + where));
        // The program is first in the chain again, ahead of the dead helper's place.
        EXPECT_TRUE(testsupport::PumpUntil([&] { return GetClipboardViewer() == window; }, testsupport::kPatientMs)) << where;
        EXPECT_TRUE(StillCaptures(std::string("and on ") + where));
    }
}

}  // namespace
