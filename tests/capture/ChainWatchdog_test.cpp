// The chain repairs itself around a viewer ahead of us that swallows notices, and changes nothing for a
// healthy chain (a viewer killed ahead of the program is the stress test's).
#include "capture/ChainWatchdog.h"

#include "support/CaptureFixture.h"
#include "support/helper_viewer.h"

namespace capture {
namespace testing_capture {
namespace {

using testsupport::HelperViewer;

class WatchdogTest : public CaptureTest {
protected:
    void JoinWatched() {
        Join();
        ASSERT_TRUE(watchdog_.Start(host_.window));
    }
};

TEST_F(WatchdogTest, AViewerThatSwallowsNoticesStillLetsEveryCopyInOnce) {
    JoinWatched();
    HelperViewer helper("swallow");
    ASSERT_TRUE(helper.Joined(host_.window));
    for (int i = 1; i <= 5; ++i) {
        ASSERT_TRUE(CopyText("swallowed " + std::to_string(i), i)) << i;
        testsupport::PumpFor(150);
        EXPECT_EQ(Count(), i) << "captured twice";
    }
}

TEST_F(WatchdogTest, AHealthyChainCapturesEachCopyOnceAndPassesEveryNoticeOn) {
    testsupport::TestViewer after;
    after.Join();
    JoinWatched();
    for (int i = 0; i < 100; ++i) {
        const int before = clips_.Tags().Counter(clips::HolderFamily::kText);
        ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_TEXT, "copy " + std::to_string(i)); },
                             [&] { return clips_.Tags().Counter(clips::HolderFamily::kText) == before + 1; }))
            << i;
    }
    testsupport::PumpFor(200);
    EXPECT_EQ(clips_.Tags().Counter(clips::HolderFamily::kText), 100);  // each copy stored once
    EXPECT_EQ(host_.list.Model().ItemText(24), "copy 99");
    EXPECT_GE(after.draws, 100);
    ChangeClipboardChain(host_.window, monitor_.NextViewer());
    monitor_.Detach(host_.window);
}

}  // namespace
}  // namespace testing_capture
}  // namespace capture
