// A history of large pictures, copied one after another as fast as each is captured: every picture is
// kept whole, the process stays within the history's budget plus a margin, and no copy is lost.
#include "clips/Clips.h"
#include "mainwindow/MainWindowFixture.h"
#include "support/process_memory.h"

namespace mainwindow {
namespace testing_form {
namespace {

class PictureMemoryTest : public MainWindowTest {};

TEST_F(PictureMemoryTest, LargePicturesAreKeptWholeWithinTheBudget) {
    StartOn();
    const double limitMb = double(form_->History().Budget() >> 20) + 100;
    struct Round {
        int width, height, copies;
    } rounds[] = {{4000, 4000, 30}, {3840, 2160, 25}};
    for (const Round& round : rounds) {
        form_->DeleteAll();
        std::vector<std::pair<COLORREF, COLORREF>> copied;
        double mostMb = 0;
        for (int i = 0; i < round.copies; ++i) {
            const COLORREF top = RGB(i * 8, round.width % 256, 200), bottom = RGB(60, i * 8, 255 - i * 8);
            // Top and bottom halves in different colours: a picture upside down or mixed up with another shows.
            const std::string dib = testsupport::Dib(round.width, round.height, 24,
                                                     [&](int, int y) { return y < round.height / 2 ? top : bottom; });
            const clips::ClipId newest = Count() ? form_->Clips().Tags().Tag(Count() - 1) : clips::ClipId();
            ASSERT_TRUE(testsupport::PeerCopy([&] { testsupport::OfferText(CF_DIB, dib); },
                                              [&] { return Count() && form_->Clips().Tags().Tag(Count() - 1) != newest; },
                                              60000))
                << "copy " << i << " of " << round.width << " x " << round.height << ": "
                << WindowText(form_->InformationLine());
            copied.emplace_back(top, bottom);
            mostMb = std::max(mostMb, testsupport::PrivateMb());
        }
        form_->Clips().Holders().Pictures().FinishCompressing();
        mostMb = std::max(mostMb, testsupport::PrivateMb());
        EXPECT_LT(mostMb, limitMb) << round.width << " x " << round.height;
        RecordProperty("most_private_mb_" + std::to_string(round.width), int(mostMb));
        ASSERT_EQ(Count(), std::min(round.copies, 25));
        EXPECT_LE(form_->History().HeldBytes(), form_->History().Budget());

        // Each clip, newest last, is the copy made in its turn: shown at its size, right side up.
        const std::size_t first = copied.size() - std::size_t(Count());
        for (int p = 0; p < Count(); ++p) {
            form_->ClipList().Model().SetListIndex(p);
            SettlePreview();
            HBITMAP shown = form_->ShownPicture().Picture();
            BITMAP info = {};
            ASSERT_TRUE(shown && GetObject(shown, sizeof(info), &info)) << p;
            EXPECT_EQ(info.bmWidth, round.width);
            EXPECT_EQ(info.bmHeight, round.height);
            EXPECT_EQ(testsupport::PixelOf(shown, 5, 5), copied[first + p].first) << p;
            EXPECT_EQ(testsupport::PixelOf(shown, 5, round.height - 5), copied[first + p].second) << p;
        }
    }
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
