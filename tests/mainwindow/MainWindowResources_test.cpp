// Long runs against the real clipboard: captures that evict and repaints must hand back every GDI
// object, window and kernel handle they take.
#include "MainWindowFixture.h"
#include "clipboard/ClipboardAccess.h"
#include "support/resource_counts.h"

namespace mainwindow {
namespace testing_form {
namespace {

COLORREF Stripes(int x, int) { return x % 2 ? RGB(250, 200, 0) : RGB(0, 90, 160); }

// One copy of each kind in turn: plain text, rich text, a picture, a file list.
void OfferKind(int round) {
    const std::string text = "round " + std::to_string(round);
    switch (round % 4) {
        case 0: testsupport::OfferText(CF_TEXT, text); break;
        case 1:
            testsupport::OfferText(clipboard::RichTextFormat(), "{\\rtf1\\ansi \\b " + text + "\\b0\\par}");
            testsupport::OfferText(CF_TEXT, text);
            break;
        case 2: SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(16, 12, Stripes)); break;
        default: testsupport::OfferFiles({"C:\\" + text + ".txt"}); break;
    }
}

class MainWindowResources : public MainWindowTest {
protected:
    // Waits until the capture of this copy has run and written its clip back.
    bool CaptureOne(int round) {
        const DWORD before = form_->Monitor().HandledSequence();
        return testsupport::PeerCopy([&] { OfferKind(round); }, [&] {
            const DWORD handled = form_->Monitor().HandledSequence();
            return handled != before && handled == GetClipboardSequenceNumber();
        });
    }
    void ExpectNoGrowth(const testsupport::ResourceCounts& before, const char* what) {
        const auto after = testsupport::CountResources();
        // A leak per action would show as hundreds; a few are Wine's own caches warming up.
        EXPECT_LE(after.gdi, before.gdi + 8) << what << ": GDI objects " << before.gdi << " -> " << after.gdi;
        EXPECT_LE(after.user, before.user + 4) << what << ": windows " << before.user << " -> " << after.user;
        EXPECT_LE(after.handles, before.handles + 8)
            << what << ": handles " << before.handles << " -> " << after.handles;
    }
};

TEST_F(MainWindowResources, ThousandCapturesWithEvictionAndThousandRepaintsHoldSteady) {
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    Start();
    // Fill the list past its limit once, so eviction and every kind's first use are behind us.
    for (int round = 0; round < 30; ++round) ASSERT_TRUE(CaptureOne(round)) << round;
    ASSERT_EQ(Count(), 25);
    const auto start = testsupport::CountResources();
    ASSERT_GT(start.gdi, 0);
    ASSERT_GT(start.user, 0);

    int captured = 0;
    for (int round = 30; round < 1030; ++round) captured += CaptureOne(round);
    EXPECT_EQ(captured, 1000);
    EXPECT_EQ(Count(), 25);
    EXPECT_EQ(form_->ClipList().Model().ItemText(Count() - 1), "round 1029");  // rich text, shown as its plain text
    ExpectNoGrowth(start, "1000 captures");

    const auto painted = testsupport::CountResources();
    HWND list = form_->ClipList().hwnd();
    for (int round = 0; round < 1000; ++round) {
        form_->ClipList().Model().SetListIndex(round % 25);
        RedrawWindow(form_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    ExpectNoGrowth(painted, "1000 repaints");
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
