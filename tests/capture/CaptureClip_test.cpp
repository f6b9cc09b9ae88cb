// The capture against the real clipboard and viewer chain: copies from the X side (xclip) and from a
// peer thread become clips; the clipboard afterwards holds what the source put there.
#include "capture/CaptureClip.h"

#include <atomic>
#include <thread>

#include "clipboard/IgnoredPrograms.h"
#include "support/CaptureFixture.h"
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
    EXPECT_EQ(*clips_.Holders().Text(0), longText);
    EXPECT_EQ(host_.list.Model().ItemText(0), common::Utf8Prefix(longText, 40) + "...");
    EXPECT_EQ(host_.previewText, longText);
    EXPECT_EQ(monitor_.NextViewer(), firstBefore_);
    DestroyWindow(owner);

    // From the X side: the X clipboard still gives the very bytes that were copied.
    ASSERT_TRUE(testsupport::CopyUtf8WithXclip(kUnicode));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs));
    EXPECT_EQ(host_.list.Model().ItemText(1), kUnicode);
    EXPECT_EQ(clips::TagText(clips_.Tags().Tag(1)), "TXT1");
    EXPECT_EQ(host_.list.Model().ItemIcon(1), 1);
    std::string back;
    ASSERT_TRUE(testsupport::ReadWithXclip(back));
    EXPECT_EQ(back, kUnicode);
}

// A copy is measured as its source offered it: 12 MB of ANSI text is kept though the system's Unicode form
// of it takes 24 MB; 17 MB is refused.
TEST_F(CaptureTest, AnsiTextIsMeasuredAsItWasOffered) {
    Join();
    ASSERT_TRUE(CopyText(std::string(12u << 20, 'a'), 1)) << host_.refused;
    EXPECT_EQ(clips_.Holders().Text(clips_.Tags().Tag(0).holder)->size(), 12u << 20);
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
    const clips::ClipId rich = clips_.Tags().Tag(0);
    ASSERT_EQ(rich.kind, clips::kKindRichText);
    EXPECT_EQ(clips_.Text(rich), common::Narrow(offered));
    EXPECT_EQ(clips_.TextHead(rich, 26), common::Narrow(kUnicodeWide));  // it ends in a surrogate pair
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
    EXPECT_EQ(clips_.Tags().Tag(1).kind, clips::kKindText);
    EXPECT_EQ(clips_.TextHead(clips_.Tags().Tag(1), 6), "C:\\Grü");

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
    EXPECT_EQ(clips_.Text(clips_.Tags().Tag(11)), "rich 11");
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
    EXPECT_EQ(clips::TagText(clips_.Tags().Tag(1)), "FIL1");
    EXPECT_EQ(*clips_.Holders().Text(1), lines);
    EXPECT_EQ(host_.list.Model().ItemIcon(1), 4);
    EXPECT_EQ(UnicodeText(), lines);
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, CF_HDROP), drop);
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, dropEffect),
              std::string(reinterpret_cast<const char*>(&move), 4));
    EXPECT_EQ(clipboard::ReadClipboardBytes(host_.window, privateFormat), "shell");
    testsupport::PumpFor(300);
    CaptureClip(monitor_);  // the rewritten clipboard announced again, as Wine's bridge may
    EXPECT_EQ(Count(), 2);  // the added text is not a new copy
}

// One clip for one content: the same copy again, newest or older, makes its clip the newest (holder and
// all) instead of a second row; the same text with another format is another content.
TEST_F(CaptureTest, TheSameCopyAgainIsOneClipMadeNewest) {
    Join();
    ASSERT_TRUE(CopyText("same", 1));
    ASSERT_TRUE(CopyAndSettle([] { testsupport::OfferText(CF_TEXT, "same"); }));
    EXPECT_EQ(Count(), 1);
    ASSERT_TRUE(CopyText("other", 2));
    const clips::ClipId sameTag = clips_.Tags().Tag(0);
    ASSERT_TRUE(
        PeerCopy([] { testsupport::OfferText(CF_TEXT, "same"); }, [&] { return clips_.Tags().Tag(1) == sameTag; }));
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
        EXPECT_FALSE(monitor_.CaptureSuppressed());
        if (c.captured) continue;
        EXPECT_TRUE(IsClipboardFormatAvailable(marker)) << c.marker;  // left as the peer put it
        EXPECT_NE(host_.previewText, "secret 1234");
    }
    // A copy by a program the user named (this test's own: named without ".exe", in other case) stays out.
    char self[MAX_PATH] = {};
    const std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    std::string name = path.substr(path.find_last_of('\\') + 1);
    for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
    monitor_.SetIgnoredPrograms(clipboard::ParseIgnoredPrograms("other.exe; " + name.substr(0, name.size() - 4)));
    const int held = Count();
    HWND program = CreateWindowA("STATIC", "ignored", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(CopyAndSettle([] { testsupport::OfferText(CF_TEXT, "from an ignored program"); }, program));
    EXPECT_EQ(Count(), held);
    DestroyWindow(program);
    monitor_.SetIgnoredPrograms({});
    ASSERT_TRUE(CopyText("ordinary", held + 1));
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
            const std::string held = clips_.Text(clips_.Tags().Tag(before)), kept = c.kept;
            EXPECT_EQ(held.substr(0, kept.size()), kept) << c.what;
            EXPECT_LE(held.size(), kept.size() + 1) << c.what;  // "abc" or "ab", as the system reads it
        }
        EXPECT_EQ(host_.refused, c.refused) << c.what;
        EXPECT_EQ(*clips_.Holders().Text(0), "kept") << c.what;
        EXPECT_FALSE(monitor_.CaptureSuppressed());
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

}  // namespace
}  // namespace testing_capture
}  // namespace capture
