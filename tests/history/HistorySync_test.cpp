// A history folder another machine writes too, against the real folder and its change notifications: this
// machine's limits never delete that machine's files (what it copies, pins and deletes showing here is
// two_machines.sh's, with two real programs).
#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "support/CaptureFixture.h"
#include "capture/ClipboardRewrite.h"
#include "history/HistoryFolder.h"
#include "history/HistoryStore.h"
#include "support/win32_wait.h"

namespace history {
namespace testing_store {
namespace {

using namespace capture::testing_capture;

namespace fs = std::filesystem;

class HistorySyncTest : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        folder_ = fs::path(L"Z:\\tmp") / (L"ardentia-sync-" + std::to_wstring(now.QuadPart));
        history_.Open(folder_);
        history_.SetMachineId(0xA11CE);
        SetWindowSubclass(host_.window, RouteListing, 1, reinterpret_cast<DWORD_PTR>(&history_));
    }
    void TearDown() override {
        history_.StopSync();
        RemoveWindowSubclass(host_.window, RouteListing, 1);
        history_.Close();
        fs::remove_all(folder_);
        CaptureTest::TearDown();
    }
    static LRESULT CALLBACK RouteListing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR store) {
        if (message != kFolderListedMessage) return DefSubclassProc(hwnd, message, wParam, lParam);
        reinterpret_cast<HistoryStore*>(store)->ApplyFolderListing(lParam);
        return 0;
    }
    // A clip as the other machine's Ardentia writes it, arriving through the sync service.
    fs::path WriteElsewhere(std::uint64_t at, const std::string& text) {
        ClipFileContents clip;
        clip.header = {clips::kKindText, at, false, text};
        clip.formats = {{"#13", clips::UnicodeTextFormat(text).bytes}};
        const fs::path file = folder_ / ClipFileName({at, 0xB0B, ContentChecksum(clip.formats)});
        EXPECT_TRUE(WriteFileWhole(file, WriteClipFile(clip)));
        return file;
    }
    std::string Labels() {
        std::string all;
        for (int i = 0; i < Count(); ++i)
            all += host_.list.Model().ItemText(i) + (host_.list.Model().ItemPinned(i) ? "*" : "") + "|";
        return all;
    }
    fs::path folder_;
};

// Trimmed to this machine's limits, another machine's clip is only no longer listed here: its file stays for
// that machine. This machine's own files go with their clips.
TEST_F(HistorySyncTest, ThisMachinesLimitsDeleteOnlyItsOwnFiles) {
    Join();
    clips_.SetHistorySize(2);
    ASSERT_TRUE(CopyText("mine first", 1));
    history_.FlushWrites();
    ASSERT_TRUE(history_.StartSync(host_.window));
    const fs::path theirs = WriteElsewhere(ListHistoryFolder(folder_).clips.at(0).id.capturedAtMs - 60000, "theirs");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs)) << Labels();
    for (const char* text : {"mine second", "mine third"}) {
        ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); },
                             [&] { return host_.list.Model().ItemText(Count() - 1) == text; }));
        history_.FlushWrites();
    }
    testsupport::PumpFor(700);  // a listing after the trims adds nothing back
    EXPECT_EQ(Labels(), "mine second|mine third|");
    EXPECT_TRUE(fs::exists(theirs));
    EXPECT_EQ(ListHistoryFolder(folder_).clips.size(), 3u);
}

}  // namespace
}  // namespace testing_store
}  // namespace history
