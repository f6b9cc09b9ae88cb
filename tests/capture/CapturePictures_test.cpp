// Pictures through the capture: bitmaps, device-independent bitmaps and PNGs from the X side and from other
// programs become picture clips held pixel for pixel, or are refused with a reason.
#include "capture/CaptureClip.h"

#include <atomic>
#include <thread>

#include "support/CaptureFixture.h"
#include "clipboard/PictureReaderProcess.h"
#include "support/banded_picture.h"
#include "capture/PutBack.h"
#include "common/WindowText.h"

namespace capture {
namespace testing_capture {
namespace {

COLORREF Checker(int x, int y) { return (x / 4 + y / 4) % 2 ? RGB(200, 30, 30) : RGB(20, 40, 220); }

// Under Wine, a bitmap another program offers stays in the process that imports it: such a picture is read
// by a process of the program's own that then ends. Its pixels come over whole; without the reader, or from this
// process, the picture is read here; a reader that is too slow or a picture too large is no clip, and the next copy is
// taken as ever.
TEST_F(CaptureTest, ABitmapFromAnotherProgramIsReadByAReaderProcessThatEnds) {
    Join();
    const std::string built = testsupport::WindowsPath(ARDENTIA_EXE);
    const std::wstring program(built.begin(), built.end());
    const struct {
        std::wstring program;
        bool fromHere;
        DWORD deadlineMs;
        int width;
        bool readThere;
        const char* told;
    } cases[] = {
        {program, false, 20000, 60, true, ""},
        {program, true, 20000, 60, false, ""},
        {L"Z:\\nowhere\\Ardentia.exe", false, 20000, 60, false, ""},
        {program, false, 0, 60, false, "Not kept: the picture could not be read"},
        {program, false, 20000, 4100, false,
         "Not kept: the picture is 4100 x 4000 pixels, more than the 16 million a clip may hold"},
    };
    int serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.told) + (c.fromHere ? " from here" : "") + (c.readThere ? " read there" : ""));
        monitor_.Pictures().SetProgram(c.program);
        monitor_.Pictures().SetDeadlineForTesting(c.deadlineMs);
        host_.refused.clear();
        const int before = Count(), height = c.width > 60 ? 4000 : 30, readBefore = monitor_.Pictures().PicturesRead();
        auto Copied = [&] { return Count() > before || !host_.refused.empty(); };
        if (c.fromHere)
            ASSERT_TRUE(
                PeerCopy([&] { SetClipboardData(CF_BITMAP, testsupport::BandedPicture(c.width, height, ++serial)); },
                         Copied, 30000, host_.window));
        else
            ASSERT_TRUE(testsupport::StartPicturePeer(PICTURE_PEER_EXE, c.width, height, ++serial) &&
                        testsupport::PumpUntil(Copied, 30000));
        EXPECT_EQ(host_.refused, c.told);
        if (*c.told) {
            EXPECT_EQ(Count(), before);
            continue;
        }
        ASSERT_EQ(Count(), before + 1);
        HBITMAP held = clips_.Holders().Picture(clips_.Tags().Tag(before).holder);
        DIBSECTION section = {};
        ASSERT_EQ(GetObject(held, sizeof(section), &section), int(sizeof(section)));
        EXPECT_EQ(monitor_.Pictures().PicturesRead() - readBefore, c.readThere ? 1 : 0);
        EXPECT_EQ(section.dsBm.bmWidth, c.width);
        for (int band : {0, 7, 29})
            EXPECT_EQ(testsupport::PixelOf(held, 3, band * height / 30), testsupport::BandColour(band, serial)) << band;
    }
    }

TEST_F(CaptureTest, TheHistoryStaysWithinItsBudgetAndRefusesACopyLargerThanItAll) {
    Join();
    history_.SetBudget(3u << 20);
    const std::size_t size = 900u << 10;
    for (int i = 1; i <= 4; ++i) ASSERT_TRUE(CopyText(std::string(size, char('0' + i)), std::min(i, 3))) << i;
    EXPECT_EQ(clips_.Holders().Text(clips_.Tags().Tag(0).holder)->front(), '2');  // the oldest went
    EXPECT_EQ(clips_.Holders().HeldBytes(clips::HolderFamily::kText, 0),
              0u);  // and its holder, element 0, let its text go
    EXPECT_LE(history_.HeldBytes(), 3u << 20);
    ASSERT_TRUE(PeerCopy([] { testsupport::OfferText(CF_TEXT, std::string(4u << 20, 'x')); },
                         [&] { return !host_.refused.empty(); }));
    EXPECT_EQ(host_.refused, "Not kept: the copy needs 4.0 MB, more than the 3.0 MB the history may hold");
    ASSERT_EQ(Count(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(*clips_.Holders().Text(clips_.Tags().Tag(p).holder),
                  std::string(size, char('2' + p)));

    // A picture's pixels (1.9 MB here) would bring the history over; once compressed they do not: nothing goes.
    history_.SetBudget(4u << 20);
    std::string dib = testsupport::Dib(800, 600, 24, [](int x, int) { return x / 4 % 2 ? RGB(200, 200, 200) : 0; });
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_DIB, dib); },
                         [&] { return (clips_.Tags().Tag(Count() - 1)).kind == clips::kKindPicture; },
                         20000));
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(clips_.Holders().Text(clips_.Tags().Tag(0).holder)->front(), '2');
    EXPECT_LE(history_.HeldBytes(), 4u << 20);
    // Its pixels alone over the whole budget: judged by what it is held as, it is kept.
    history_.SetBudget(1u << 20);
    host_.refused.clear();
    dib[sizeof(BITMAPINFOHEADER)] = 1;  // another copy
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_DIB, dib); },
                         [&] { return clips::TagText(clips_.Tags().Tag(Count() - 1)) != "PIC0" || !host_.refused.empty(); },
                         20000));
    EXPECT_EQ(host_.refused, "");
    EXPECT_EQ(clips::TagText(clips_.Tags().Tag(Count() - 1)), "PIC1");
    EXPECT_LE(history_.HeldBytes(), 1u << 20);
    // Rich text counts its markup once, as one of the formats it keeps: 720 KB of it fits in 1 MB.
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 120000; ++i) rtf += "\\b\\b0 ";
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(clipboard::RichTextFormat(), rtf + "bold}"); },
                         [&] { return clips::TagText(clips_.Tags().Tag(Count() - 1)) != "PIC1" || !host_.refused.empty(); },
                         20000));
    EXPECT_EQ(host_.refused, "");
    EXPECT_EQ(clips_.Text(clips_.Tags().Tag(Count() - 1)), "bold");
    EXPECT_EQ(clips_.TextHead(clips_.Tags().Tag(Count() - 1), 2), "bo");  // read from the rich-edit box
}

// A PNG offered beside a bitmap is kept only when its header describes that picture within the limit:
// showing, saving and putting back decode it. One that does not is left out, and the clip kept.
TEST_F(CaptureTest, APngBesideABitmapIsKeptOnlyWhenItDescribesThatPicture) {
    Join();
    const std::vector<DWORD> blue(30 * 20, 0x3366CC);
    const std::string png = pictures::EncodePng(blue.data(), 30, 20).value_or("");
    ASSERT_FALSE(png.empty());
    std::string huge = png, other = png;
    huge.replace(16, 8, std::string("\0\0\x75\x30\0\0\x75\x30", 8));  // 30000 x 30000
    other[19] = 31;                                                     // 31 x 20
    const struct {
        const std::string* png;
        bool kept;
    } cases[] = {{&png, true}, {&huge, false}, {&other, false}};
    for (const auto& c : cases) {
        const int wanted = Count() + 1;
        ASSERT_TRUE(PeerCopy(
            [&] {
                SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(30, 20, Checker));
                testsupport::OfferText(pictures::PngFormat(), *c.png);
            },
            [&] { return Count() == wanted; }));
        const clips::ClipFormats* kept = clips_.Holders().Kept(
            clips::HolderFamily::kPicture, clips_.Tags().Tag(wanted - 1).holder);
        ASSERT_TRUE(kept);
        EXPECT_EQ(clips::FindFormat(*kept, pictures::PngFormat()) != nullptr, c.kept) << wanted;
        ASSERT_TRUE(PutClipBack(wanted - 1, false));
        EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, pictures::PngFormat()).has_value(), c.kept) << wanted;
    }
}

// A picture the program cannot hold (no memory, no bitmap from the system, a codec that cannot read it): no
// clip, the user is told, the next copy is captured. One the codec cannot compress is kept as it came.
TEST_F(CaptureTest, APictureThatCannotBeHeldIsNoClipAndTheUserIsTold) {
    Join();
    ASSERT_TRUE(CopyText("kept", 1));
    const std::vector<DWORD> blue(30 * 20, 0x3366CC);
    const std::string png = pictures::EncodePng(blue.data(), 30, 20).value_or("");
    ASSERT_FALSE(png.empty());
    const struct {
        void (*fail)(bool);
        bool pngOnly;
        const char* told;
    } cases[] = {
        {clipboard::SetPictureHoldFailsForTesting, false, "Not kept: there was not enough memory to hold the picture"},
        {clipboard::SetPictureHoldFailsForTesting, true, "Not kept: there was not enough memory to hold the picture"},
        {pictures::SetPngCodecFailsForTesting, true, "Not kept: the picture could not be decoded"},
    };
    for (const auto& c : cases) {
        host_.refused.clear();
        c.fail(true);
        ASSERT_TRUE(PeerCopy(
            [&] {
                if (c.pngOnly) testsupport::OfferText(pictures::PngFormat(), png);
                else SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(30, 20, Checker));
            },
            [&] { return !host_.refused.empty(); }))
            << c.told;
        c.fail(false);
        EXPECT_EQ(host_.refused, c.told);
        EXPECT_EQ(Count(), 1);
    }
    pictures::SetPngCodecFailsForTesting(true);
    ASSERT_TRUE(PeerCopy([] { SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(30, 20, Checker)); },
                         [&] { return Count() == 2; }));
    clips_.Holders().Pictures().FinishCompressing();
    pictures::SetPngCodecFailsForTesting(false);
    EXPECT_EQ(clips_.Holders().HeldBytes(clips::HolderFamily::kPicture, 0), 30u * 20 * 4);  // its pixels, counted whole
    ASSERT_TRUE(CopyText("after", 3));
    EXPECT_EQ(testsupport::PixelOf(clips_.Holders().Picture(0), 7, 3), Checker(7, 3));
}

// Showing, saving or putting back a picture decodes its PNG: one that declares more pixels than a clip may
// hold is never decoded, however it came (kept beside a bitmap, say); one within the limit is.
TEST(PngDecode, OnlyPicturesWithinTheLimitAreDecoded) {
    const std::vector<DWORD> blank(std::size_t(16001) * 1001);  // 16,017,001 pixels
    const std::string tooLarge = pictures::EncodePng(blank.data(), 16001, 1001).value_or("");
    ASSERT_FALSE(tooLarge.empty());
    EXPECT_EQ(pictures::DecodePng(tooLarge), nullptr);
    const std::string withinLimit = pictures::EncodePng(blank.data(), 4000, 4000).value_or("");
    HBITMAP decoded = pictures::DecodePng(withinLimit);
    EXPECT_NE(decoded, nullptr);
    DeleteObject(decoded);
}
}  // namespace
}  // namespace testing_capture
}  // namespace capture
