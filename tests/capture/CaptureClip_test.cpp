// The capture against the real clipboard and viewer chain: copies from the X side (xclip) and from a
// peer thread become clips; the clipboard afterwards holds what the source put there.
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

const std::string kUnicode = "Grüße 日本 ✓ € Привет שלום 😀";
const std::wstring kUnicodeWide = L"Grüße 日本 ✓ € Привет שלום \U0001F600";

// Every character arrives, and the clipboard keeps exactly what the source put there: its owner and
// every format, byte for byte.
TEST_F(CaptureTest, UnicodeTextWithOtherFormatsIsCapturedAndLeftAsItWas) {
    Join();
    const UINT html = RegisterClipboardFormatA("HTML Format");
    const UINT privateFormat = RegisterClipboardFormatA("Ardentia Test Private");
    HWND owner = CreateWindowA("STATIC", "peer owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const std::wstring longWide = kUnicodeWide + L" and a tail that runs well past forty characters";
    ASSERT_TRUE(PeerCopy(
        [&] {
            testsupport::OfferWide(CF_UNICODETEXT, longWide);
            testsupport::OfferText(html, "Version:0.9\r\n<b>Grüße</b>");
            SetClipboardData(privateFormat, testsupport::GlobalBytes("\x01\x00\xFFprivate", 10));
        },
        [&] { return Count() == 1; }, 5000, owner));
    const auto offered = testsupport::ClipboardBlocks(host_.window);
    testsupport::PumpFor(300);  // anything the capture might still do to the clipboard
    EXPECT_EQ(testsupport::ClipboardBlocks(host_.window), offered);
    EXPECT_EQ(GetClipboardOwner(), owner);
    const std::string longText = common::Narrow(longWide);
    EXPECT_EQ(*clips::Holders().Text(0), longText);
    EXPECT_EQ(host_.list.Model().ItemText(0), common::Utf8Prefix(longText, 40) + "...");
    EXPECT_EQ(host_.previewText, longText);
    EXPECT_EQ(host_.list.Model().ListIndex(), 0);
    EXPECT_EQ(GetClipboardViewer(), host_.window);
    EXPECT_EQ(NextViewer(), firstBefore_);
    EXPECT_FALSE(SelfWrite());
    EXPECT_FALSE(CaptureSuppressed());
    DestroyWindow(owner);

    // From the X side: the X clipboard still gives the very bytes that were copied.
    ASSERT_TRUE(testsupport::CopyUtf8WithXclip(kUnicode));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs));
    EXPECT_EQ(host_.list.Model().ItemText(1), kUnicode);
    EXPECT_EQ(clips::ClipTags().Tag(1), "TXT1");
    EXPECT_EQ(host_.list.Model().ItemIcon(1), 1);
    std::string back;
    ASSERT_TRUE(testsupport::ReadWithXclip(back));
    EXPECT_EQ(back, kUnicode);
}

COLORREF Checker(int x, int y) { return (x / 4 + y / 4) % 2 ? RGB(200, 30, 30) : RGB(20, 40, 220); }

TEST_F(CaptureTest, PicturesFromABitmapOrADibAreHeldPixelForPixel) {
    Join();
    ASSERT_TRUE(PeerCopy([] { SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(40, 30, Checker)); },
                         [&] { return Count() == 1; }));
    EXPECT_EQ(clips::ClipTags().Tag(0), "PIC0");
    EXPECT_EQ(host_.list.Model().ItemText(0), "<Graphic Image Clip>");
    EXPECT_EQ(host_.list.Model().ItemIcon(0), 2);
    EXPECT_EQ(host_.previewPicture, clips::Holders().Picture(0));
    BITMAP info;
    ASSERT_TRUE(GetObject(clips::Holders().Picture(0), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 40);
    EXPECT_EQ(info.bmHeight, 30);
    for (int p : {0, 5, 17, 29}) EXPECT_EQ(testsupport::PixelOf(clips::Holders().Picture(0), p, p), Checker(p, p)) << p;

    // Only a device-independent bitmap on offer.
    const std::string dib = testsupport::Dib(8, 8, 32, Checker);
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_DIB, dib); }, [&] { return Count() == 2; }));
    EXPECT_EQ(clips::ClipTags().Tag(1), "PIC1");
    EXPECT_EQ(testsupport::PixelOf(clips::Holders().Picture(1), 5, 1), Checker(5, 1));
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, CF_DIB).value_or("").substr(0, dib.size()),
              dib);  // left as offered

    // Held compressed once the background work is done; shown again, the older picture is decoded whole.
    clips::Holders().Pictures().FinishCompressing();
    EXPECT_LT(clips::Holders().HeldBytes(clips::HolderFamily::kPicture, 0), 40u * 30 * 4 / 4);
    for (int p : {0, 5, 17, 29}) EXPECT_EQ(testsupport::PixelOf(clips::Holders().Picture(0), p, p), Checker(p, p)) << p;
}

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
        clipboard::SetPictureReaderProgram(c.program);
        clipboard::SetReaderDeadlineForTesting(c.deadlineMs);
        host_.refused.clear();
        const int before = Count(), height = c.width > 60 ? 4000 : 30, readBefore = clipboard::PicturesReadInReaders();
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
        HBITMAP held = clips::Holders().Picture(clips::TagHolderIndex(clips::ClipTags().Tag(before)));
        DIBSECTION section = {};
        ASSERT_EQ(GetObject(held, sizeof(section), &section), int(sizeof(section)));
        EXPECT_EQ(clipboard::PicturesReadInReaders() - readBefore, c.readThere ? 1 : 0);
        EXPECT_EQ(section.dsBm.bmWidth, c.width);
        for (int band : {0, 7, 29})
            EXPECT_EQ(testsupport::PixelOf(held, 3, band * height / 30), testsupport::BandColour(band, serial)) << band;
    }
    clipboard::SetPictureReaderProgram(L"");
    clipboard::SetReaderDeadlineForTesting(10000);
}

TEST_F(CaptureTest, TheHistoryStaysWithinItsBudgetAndRefusesACopyLargerThanItAll) {
    Join();
    history::SetHistoryBudget(3u << 20);
    const std::size_t size = 900u << 10;
    for (int i = 1; i <= 4; ++i) ASSERT_TRUE(CopyText(std::string(size, char('0' + i)), std::min(i, 3))) << i;
    EXPECT_EQ(clips::Holders().Text(clips::TagHolderIndex(clips::ClipTags().Tag(0)))->front(), '2');  // the oldest went
    EXPECT_EQ(clips::Holders().HeldBytes(clips::HolderFamily::kText, 0),
              0u);  // and its holder, element 0, let its text go
    EXPECT_LE(history::HistoryBytes(), 3u << 20);
    ASSERT_TRUE(PeerCopy([] { testsupport::OfferText(CF_TEXT, std::string(4u << 20, 'x')); },
                         [&] { return !host_.refused.empty(); }));
    EXPECT_EQ(host_.refused, "Not kept: the copy needs 4.0 MB, more than the 3.0 MB the history may hold");
    ASSERT_EQ(Count(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(*clips::Holders().Text(clips::TagHolderIndex(clips::ClipTags().Tag(p))),
                  std::string(size, char('2' + p)));

    // A picture's pixels (1.9 MB here) would bring the history over; once compressed they do not: nothing goes.
    history::SetHistoryBudget(4u << 20);
    std::string dib = testsupport::Dib(800, 600, 24, [](int x, int) { return x / 4 % 2 ? RGB(200, 200, 200) : 0; });
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_DIB, dib); },
                         [&] { return clips::TagKind(clips::ClipTags().Tag(Count() - 1)) == clips::kKindPicture; },
                         20000));
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(clips::Holders().Text(clips::TagHolderIndex(clips::ClipTags().Tag(0)))->front(), '2');
    EXPECT_LE(history::HistoryBytes(), 4u << 20);
    // Its pixels alone over the whole budget: judged by what it is held as, it is kept.
    history::SetHistoryBudget(1u << 20);
    host_.refused.clear();
    dib[sizeof(BITMAPINFOHEADER)] = 1;  // another copy
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_DIB, dib); },
                         [&] { return clips::ClipTags().Tag(Count() - 1) != "PIC0" || !host_.refused.empty(); },
                         20000));
    EXPECT_EQ(host_.refused, "");
    EXPECT_EQ(clips::ClipTags().Tag(Count() - 1), "PIC1");
    EXPECT_LE(history::HistoryBytes(), 1u << 20);
    // Rich text counts its markup once, as one of the formats it keeps: 720 KB of it fits in 1 MB.
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 120000; ++i) rtf += "\\b\\b0 ";
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(clipboard::RichTextFormat(), rtf + "bold}"); },
                         [&] { return clips::ClipTags().Tag(Count() - 1) != "PIC1" || !host_.refused.empty(); },
                         20000));
    EXPECT_EQ(host_.refused, "");
    EXPECT_EQ(clips::ClipText(clips::ClipTags().Tag(Count() - 1)), "bold");
    EXPECT_EQ(clips::ClipTextHead(clips::ClipTags().Tag(Count() - 1), 2), "bo");  // read from the rich-edit box
}

// A copy is measured as its source offered it: 12 MB of ANSI text is kept though the system's Unicode form
// of it takes 24 MB; 17 MB is refused.
TEST_F(CaptureTest, AnsiTextIsMeasuredAsItWasOffered) {
    Join();
    ASSERT_TRUE(CopyText(std::string(12u << 20, 'a'), 1)) << host_.refused;
    EXPECT_EQ(clips::Holders().Text(clips::TagHolderIndex(clips::ClipTags().Tag(0)))->size(), 12u << 20);
    ASSERT_TRUE(PeerCopy([] { testsupport::OfferText(CF_TEXT, std::string(17u << 20, 'b')); },
                         [&] { return !host_.refused.empty(); }));
    EXPECT_EQ(host_.refused, "Not kept: the copy holds 17.0 MB of text, more than the 16.0 MB a clip may hold");
    EXPECT_EQ(Count(), 1);
}

// Every format on the list of those a clip keeps stays with it, whatever kind it is shown as, and goes back
// as it came: a rich text clip's plain text is the one its source offered, not the rich-edit box's reading
// of the markup; a file manager's copy of files with their paths as text keeps its files.
TEST_F(CaptureTest, EveryFormatOfferedIsKeptWhateverKindTheClipIs) {
    Join();
    const std::wstring offered = kUnicodeWide + L" as the source wrote it";
    ASSERT_TRUE(PeerCopy(
        [&] {
            testsupport::OfferText(clipboard::RichTextFormat(), "{\\rtf1\\ansi markup \\b read\\b0 apart\\par}");
            testsupport::OfferWide(CF_UNICODETEXT, offered);
        },
        [&] { return Count() == 1; }));
    const std::string rich = clips::ClipTags().Tag(0);
    ASSERT_EQ(clips::TagKind(rich), clips::kKindRichText);
    EXPECT_EQ(clips::ClipText(rich), common::Narrow(offered));
    EXPECT_EQ(clips::ClipTextHead(rich, 26), common::Narrow(kUnicodeWide));  // it ends in a surrogate pair
    EXPECT_EQ(host_.previewText, common::Narrow(offered));

    const UINT dropEffect = RegisterClipboardFormatA("Preferred DropEffect");
    const std::string drop = testsupport::WideDropFiles({L"C:\\Grüße.txt"});
    const DWORD move = DROPEFFECT_MOVE;
    ASSERT_TRUE(PeerCopy(
        [&] {
            SetClipboardData(CF_HDROP, testsupport::GlobalBytes(drop.data(), drop.size()));
            SetClipboardData(dropEffect, testsupport::GlobalBytes(&move, sizeof(move)));
            testsupport::OfferWide(CF_UNICODETEXT, L"C:\\Grüße.txt");
        },
        [&] { return Count() == 2; }));
    EXPECT_EQ(clips::TagKind(clips::ClipTags().Tag(1)), clips::kKindText);
    EXPECT_EQ(clips::ClipTextHead(clips::ClipTags().Tag(1), 6), "C:\\Grü");

    ASSERT_TRUE(PutClipBack(0, false));  // the rich clip, now the newest
    EXPECT_EQ(UnicodeText(), common::Narrow(offered));
    EXPECT_EQ(ClipboardText(clipboard::RichTextFormat()), "{\\rtf1\\ansi markup \\b read\\b0 apart\\par}");
    ASSERT_TRUE(PutClipBack(1, true));  // its plain text only
    EXPECT_EQ(UnicodeText(), common::Narrow(offered));
    EXPECT_FALSE(IsClipboardFormatAvailable(clipboard::RichTextFormat()));
    ASSERT_TRUE(PutClipBack(0, false));  // the files with their text
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, CF_HDROP), drop);
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, dropEffect),
              std::string(reinterpret_cast<const char*>(&move), 4));
    EXPECT_EQ(UnicodeText(), "C:\\Grüße.txt");
}

BOOL CALLBACK CountRichEdits(HWND child, LPARAM count) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof(name));
    if (lstrcmpiA(name, "RichEdit20W") == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Rich-text clips hold their text, not a window each (thousands would reach the process's quota of window
// handles): one hidden box reads them all.
TEST_F(CaptureTest, RichTextClipsHoldNoWindowEach) {
    Join();
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(PeerCopy(
            [&] {
                testsupport::OfferText(clipboard::RichTextFormat(),
                                       "{\\rtf1\\ansi rich " + std::to_string(i) + "\\par}");
            },
            [&] { return Count() == i + 1; }));
    int boxes = 0;
    EnumChildWindows(host_.window, CountRichEdits, reinterpret_cast<LPARAM>(&boxes));
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(clips::ClipText(clips::ClipTags().Tag(11)), "rich 11");
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
        const clips::ClipFormats* kept = clips::Holders().Kept(
            clips::HolderFamily::kPicture, clips::TagHolderIndex(clips::ClipTags().Tag(wanted - 1)));
        ASSERT_TRUE(kept);
        EXPECT_EQ(clips::FindFormat(*kept, pictures::PngFormat()) != nullptr, c.kept) << wanted;
        ASSERT_TRUE(PutClipBack(wanted - 1, false));
        EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, pictures::PngFormat()).has_value(), c.kept) << wanted;
    }
}

// Cut files stay files with their drop effect, and gain their paths as text.
TEST_F(CaptureTest, FileListsStayFilesAndGainTheirPathsAsText) {
    Join();
    ASSERT_TRUE(CopyText("first", 1));
    const UINT dropEffect = RegisterClipboardFormatA("Preferred DropEffect");
    const UINT privateFormat = RegisterClipboardFormatA("Ardentia Test Shell Private");
    const std::vector<std::wstring> names = {L"C:\\a.txt", L"C:\\folder with space\\Grüße 日本.doc", L"D:\\c"};
    const std::string drop = testsupport::WideDropFiles(names);
    const DWORD move = DROPEFFECT_MOVE;
    ASSERT_TRUE(PeerCopy(
        [&] {
            SetClipboardData(CF_HDROP, testsupport::GlobalBytes(drop.data(), drop.size()));
            SetClipboardData(dropEffect, testsupport::GlobalBytes(&move, sizeof(move)));
            SetClipboardData(privateFormat, testsupport::GlobalBytes("shell", 5));
        },
        [&] { return Count() == 2; }));
    const std::string lines = "C:\\a.txt\r\nC:\\folder with space\\Grüße 日本.doc\r\nD:\\c\r\n";
    EXPECT_EQ(clips::ClipTags().Tag(1), "FIL1");
    EXPECT_EQ(*clips::Holders().Text(1), lines);
    EXPECT_EQ(host_.list.Model().ItemIcon(1), 4);
    EXPECT_EQ(UnicodeText(), lines);
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, CF_HDROP), drop);
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, dropEffect),
              std::string(reinterpret_cast<const char*>(&move), 4));
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, privateFormat), "shell");
    EXPECT_EQ(GetClipboardViewer(), host_.window);
    testsupport::PumpFor(300);
    CaptureClip();  // the rewritten clipboard announced again, as Wine's bridge may
    EXPECT_EQ(Count(), 2);  // the added text is not a new copy
    ASSERT_TRUE(CopyText("third", 3));
    EXPECT_EQ(clips::ClipTags().Tag(2), "TXT2");
}

// Linux programs offer pictures as PNG only; the X side still reads the very PNG back.
TEST_F(CaptureTest, APictureOfferedOnlyAsPngIsAPictureClip) {
    Join();
    const std::string png = "/tmp/ardentia_png_" + std::to_string(GetCurrentProcessId()) + ".png";
    ASSERT_TRUE(testsupport::RunUnixShell("convert -size 37x23 xc:'#3366CC' " + png +
                                          " && xclip -selection clipboard -t image/png -i " + png));
    const auto formats = [&] {
        std::string names;
        if (!OpenClipboard(host_.window)) return std::string("(not opened)");
        for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
            char name[128] = {};
            names += (GetClipboardFormatNameA(f, name, sizeof(name)) ? std::string(name) : std::to_string(f)) + " ";
        }
        CloseClipboard();
        return names;
    };
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 1; }, testsupport::kPatientMs))
        << Count() << " clips; told \"" << host_.refused << "\"; on the clipboard: " << formats();
    EXPECT_EQ(clips::ClipTags().Tag(0), "PIC0");
    BITMAP info;
    ASSERT_TRUE(GetObject(clips::Holders().Picture(0), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 37);
    EXPECT_EQ(info.bmHeight, 23);
    EXPECT_EQ(testsupport::PixelOf(clips::Holders().Picture(0), 36, 22), RGB(0x33, 0x66, 0xCC));
    std::string offered, back;
    ASSERT_TRUE(testsupport::ReadWholeFile(testsupport::WindowsPath(png), offered));
    ASSERT_TRUE(testsupport::ReadWithXclip(back, "image/png"));
    EXPECT_EQ(back, offered);
    DeleteFileA(testsupport::WindowsPath(png).c_str());
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
    clips::Holders().Pictures().FinishCompressing();
    pictures::SetPngCodecFailsForTesting(false);
    EXPECT_EQ(clips::Holders().HeldBytes(clips::HolderFamily::kPicture, 0), 30u * 20 * 4);  // its pixels, counted whole
    ASSERT_TRUE(CopyText("after", 3));
    EXPECT_EQ(testsupport::PixelOf(clips::Holders().Picture(0), 7, 3), Checker(7, 3));
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

// One clip for one content: the same copy again, newest or older, makes its clip the newest (holder and
// all) instead of a second row; the same text with another format is another content.
TEST_F(CaptureTest, TheSameCopyAgainIsOneClipMadeNewest) {
    Join();
    ASSERT_TRUE(CopyText("same", 1));
    ASSERT_TRUE(CopyAndSettle([] { testsupport::OfferText(CF_TEXT, "same"); }));
    EXPECT_EQ(Count(), 1);
    ASSERT_TRUE(CopyText("other", 2));
    const std::string sameTag = clips::ClipTags().Tag(0);
    ASSERT_TRUE(
        PeerCopy([] { testsupport::OfferText(CF_TEXT, "same"); }, [&] { return clips::ClipTags().Tag(1) == sameTag; }));
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(host_.list.Model().ItemText(1), "same");
    EXPECT_EQ(host_.list.Model().ListIndex(), 1);
    EXPECT_EQ(ClipboardText(), "same");  // the copy stays on the clipboard as it was
    ASSERT_TRUE(PeerCopy(
        [] {
            testsupport::OfferText(CF_TEXT, "other");
            testsupport::OfferText(clipboard::HtmlFormat(), "Version:0.9\r\n<b>other</b>");
        },
        [&] { return Count() == 3; }));
    EXPECT_EQ(host_.list.Model().ItemText(0), "other");
}

TEST_F(CaptureTest, TextWithAPictureIsNotCapturedButStillPassedOn) {
    testsupport::TestViewer peer;
    peer.Join();
    Join();
    EXPECT_EQ(NextViewer(), peer.hwnd);
    const int drawsBefore = peer.draws;
    ASSERT_TRUE(PeerCopy(
        [] {
            testsupport::OfferText(CF_TEXT, "text and picture");
            SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(4, 4, Checker));
        },
        [&] { return peer.draws > drawsBefore; }));
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(CaptureSuppressed());
    ChangeClipboardChain(host_.window, NextViewer());  // leave before the peer does
    DetachMonitor(host_.window);
}

TEST_F(CaptureTest, CopiesMarkedSecretStayOutAndOnTheClipboardAsTheyWere) {
    Join();
    const struct {
        const char* marker;
        std::string value;
        bool captured;
    } cases[] = {
        {"ExcludeClipboardContentFromMonitorProcessing", std::string(1, '\0'), false},
        {"Clipboard Viewer Ignore", std::string(1, '\0'), false},
        {"CanIncludeInClipboardHistory", std::string(4, '\0'), false},
        {"CanIncludeInClipboardHistory", std::string("\x01\x00", 2), false},
        {"CanIncludeInClipboardHistory", std::string(), false},
        {"CanIncludeInClipboardHistory", std::string("\x01\x00\x00\x00", 4), true},
    };
    for (const auto& c : cases) {
        const int before = Count();
        const UINT marker = RegisterClipboardFormatA(c.marker);
        ASSERT_TRUE(CopyAndSettle(
            [&] {
                testsupport::OfferText(CF_TEXT, "secret 1234");
                // An empty value needs a fixed block: a movable one of no bytes is refused.
                HGLOBAL block = c.value.empty() ? GlobalAlloc(GMEM_FIXED, 0)
                                                : testsupport::GlobalBytes(c.value.data(), c.value.size());
                SetClipboardData(marker, block);
            }));
        EXPECT_EQ(Count(), before + (c.captured ? 1 : 0)) << c.marker << " " << c.value.size();
        EXPECT_EQ(ClipboardText(), "secret 1234");
        EXPECT_FALSE(CaptureSuppressed());
        if (c.captured) continue;
        EXPECT_TRUE(IsClipboardFormatAvailable(marker)) << c.marker;  // left as the peer put it
        EXPECT_NE(host_.previewText, "secret 1234");
    }
    const int before = Count();
    ASSERT_TRUE(CopyText("ordinary", before + 1));
}

TEST_F(CaptureTest, BadClipboardDataNeverCrashesNorTouchesTheClipsHeld) {
    Join();
    ASSERT_TRUE(CopyText("kept", 1));
    const struct {
        const char* what;
        std::function<void()> offer;
        const char* kept;  // the new clip's held text, or null when nothing may be kept
        std::string refused;
    } cases[] = {
        // Nothing beyond the block is read.
        {"text without its NUL", [] { SetClipboardData(CF_TEXT, testsupport::GlobalBytes("abc", 3)); }, "ab", ""},
        {"malformed rich text",
         [] {
             testsupport::OfferText(clipboard::RichTextFormat(), "{\\rtf1 never closed \\b\\b\\b {{{{");
             testsupport::OfferText(CF_TEXT, "plain");
         },
         "plain", ""},  // kept for what the RichEdit can read of it; its text is the source's
        {"a file list of no files", [] { testsupport::OfferFiles({}); }, nullptr, ""},
        {"a file list whose names lie past its block",
         [] {
             DROPFILES header = {};
             header.pFiles = 4096;
             SetClipboardData(CF_HDROP, testsupport::GlobalBytes(&header, sizeof(header)));
         },
         nullptr, ""},
        {"a picture shorter than its header claims",
         [] {
             const BITMAPINFOHEADER header = {sizeof(BITMAPINFOHEADER), 300, 200, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
             SetClipboardData(CF_DIB, testsupport::GlobalBytes(&header, sizeof(header)));
         },
         nullptr, "Not kept: the picture on the clipboard is incomplete"},
        {"a picture of 8000 x 8000, 8 MB as offered and 256 MB as a bitmap",
         [] {
             std::string dib(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + 1000u * 8000, '\0');
             *reinterpret_cast<BITMAPINFOHEADER*>(&dib[0]) = {
                 sizeof(BITMAPINFOHEADER), 8000, 8000, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
             SetClipboardData(CF_DIB, testsupport::GlobalBytes(dib.data(), dib.size()));
         },
         nullptr, "Not kept: the picture is 8000 x 8000 pixels, more than the 16 million a clip may hold"},
        // Offered for later rendering by a program that is gone when asked: nothing to read, nothing kept.
        {"text never rendered", [] { SetClipboardData(CF_TEXT, nullptr); }, nullptr, ""},
    };
    for (const auto& c : cases) {
        const int before = Count();
        host_.refused.clear();
        ASSERT_TRUE(CopyAndSettle(c.offer)) << c.what;
        ASSERT_EQ(Count(), before + (c.kept ? 1 : 0)) << c.what;
        if (c.kept) {
            const std::string held = clips::ClipText(clips::ClipTags().Tag(before)), kept = c.kept;
            EXPECT_EQ(held.substr(0, kept.size()), kept) << c.what;
            EXPECT_LE(held.size(), kept.size() + 1) << c.what;  // "abc" or "ab", as the system reads it
        }
        EXPECT_EQ(host_.refused, c.refused) << c.what;
        EXPECT_EQ(*clips::Holders().Text(0), "kept") << c.what;
        EXPECT_EQ(host_.list.Model().ItemText(0), "kept");
        EXPECT_FALSE(CaptureSuppressed());
    }
    const int before = Count();
    ASSERT_TRUE(CopyText("still working", before + 1));
}

// A program copies and keeps the clipboard open before we are told: we try again for 10 s, then say so.
TEST_F(CaptureTest, AClipboardHeldTooLongIsReportedAndTheClipsStay) {
    Join();
    ASSERT_TRUE(CopyText("kept", 1));
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        HWND owner = CreateWindowA("STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        for (int attempt = 0; attempt < 500 && !OpenClipboard(owner); ++attempt) Sleep(10);
        EmptyClipboard();
        testsupport::OfferText(CF_TEXT, "never read");
        CloseClipboard();
        held = OpenClipboard(owner);  // before this thread's notice is handled: our queue is not served yet
        // Held until the capture has given up, however late a busy machine let it start trying.
        for (int waited = 0; waited < 30000 && !release; waited += 10) Sleep(10);
        CloseClipboard();
        DestroyWindow(owner);
    });
    for (int waited = 0; waited < 2000 && !held; waited += 5) Sleep(5);
    EXPECT_TRUE(held);
    testsupport::PumpUntil([&] { return !host_.refused.empty(); }, 25000);
    release = true;
    EXPECT_EQ(host_.refused, "Not kept: another program kept the clipboard open");
    EXPECT_EQ(Count(), 1);
    holder.join();
    ASSERT_TRUE(CopyText("free again", 2));
}

TEST_F(CaptureTest, AViewerLeavingBehindUsIsBridged) {
    testsupport::TestViewer a, b;
    a.Join();
    b.Join();
    Join();
    ASSERT_EQ(NextViewer(), b.hwnd);
    b.Leave();
    EXPECT_EQ(NextViewer(), a.hwnd);
    const int drawsBefore = a.draws;
    ASSERT_TRUE(CopyText("after the bridge", 1));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return a.draws > drawsBefore; }, testsupport::kPatientMs));
    ChangeClipboardChain(host_.window, NextViewer());
    DetachMonitor(host_.window);
}

}  // namespace
}  // namespace testing_capture
}  // namespace capture
