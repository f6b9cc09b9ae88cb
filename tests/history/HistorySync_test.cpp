// A history folder another machine writes too, against the real folder and its change notifications:
// what that machine copies, pins and deletes shows here; a conflict copy and a file still arriving do not.
#include "history/HistorySync.h"

#include <commctrl.h>

#include <filesystem>
#include <fstream>

#include "support/CaptureFixture.h"
#include "capture/ClipboardRewrite.h"
#include "history/HistoryFolder.h"
#include "history/HistoryStore.h"
#include "capture/PutBack.h"
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
        OpenHistoryStore(folder_);
        SetMachineId(0xA11CE);
        SetWindowSubclass(host_.window, RouteListing, 1, 0);
    }
    void TearDown() override {
        StopHistorySync();
        clips::SetHistorySize(clips::kMaxClips);
        RemoveWindowSubclass(host_.window, RouteListing, 1);
        CloseHistoryStore();
        fs::remove_all(folder_);
        CaptureTest::TearDown();
    }
    static LRESULT CALLBACK RouteListing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
        if (message != kFolderListedMessage) return DefSubclassProc(hwnd, message, wParam, lParam);
        ApplyFolderListing(lParam);
        ++listings_;
        return 0;
    }
    static inline int listings_ = 0;
    // A clip as the other machine's Ardentia writes it, arriving through the sync service.
    // cutShort: only so many bytes of it have arrived, under its final name, as some services write.
    fs::path WriteElsewhere(std::uint64_t at, const std::string& text, bool pinned = false, std::size_t cutShort = 0) {
        ClipFileContents clip;
        clip.header = {clips::kKindText, at, pinned, text};
        clip.formats = {{"#13", clips::UnicodeTextFormat(text).bytes}};
        const fs::path file = folder_ / ClipFileName({at, 0xB0B, ContentChecksum(clip.formats)});
        const std::string bytes = WriteClipFile(clip);
        if (cutShort) std::ofstream(file, std::ios::binary) << bytes.substr(0, bytes.size() - cutShort);
        else EXPECT_TRUE(WriteFileWhole(file, bytes));
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

TEST_F(HistorySyncTest, WhatAnotherMachineDoesInTheFolderShowsHereAndOwnWritesChangeNothing) {
    Join();
    ASSERT_TRUE(CopyText("copied here", 1));
    FlushHistoryWrites();
    ASSERT_TRUE(StartHistorySync(host_.window));
    const std::uint64_t here = ListHistoryFolder(folder_).clips.at(0).id.capturedAtMs;

    // Captured there before and after this machine's copy, with a sync service's conflict copy of one and a
    // file still arriving under a temporary name.
    WriteElsewhere(here - 60000, "copied there first");
    const fs::path later = WriteElsewhere(here + 1000, "copied there later");
    fs::copy_file(later, folder_ / (later.stem().u8string() + " (conflicted copy).clip"));
    std::ofstream(folder_ / "incoming.clip.tmp", std::ios::binary) << "half";
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 3; }, testsupport::kPatientMs)) << Labels();
    testsupport::PumpFor(700);
    EXPECT_EQ(Labels(), "copied there first|copied here|copied there later|");
    EXPECT_EQ(GetClipboardSequenceNumber(), monitor_.HandledSequence());  // the clipboard was not touched

    // Read from its file when used, byte for byte.
    ASSERT_TRUE(PutClipBack(0));
    EXPECT_EQ(*UnicodeText(), "copied there first");
    // Pinned there (written again under its name), then deleted there with its conflict copy.
    WriteElsewhere(here + 1000, "copied there later", true);
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return Labels() == "copied here|copied there later*|copied there first|"; }, testsupport::kPatientMs))
        << Labels();
    for (const auto& entry : fs::directory_iterator(folder_))
        if (entry.path().filename().u8string().rfind(later.stem().u8string(), 0) == 0) fs::remove(entry.path());
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs)) << Labels();
    // This machine's own capture and its write change nothing else, and the folder is not listed for them.
    testsupport::PumpFor(700);
    const int listed = listings_;
    ASSERT_TRUE(CopyText("copied here again", 3));
    FlushHistoryWrites();
    testsupport::PumpFor(700);
    EXPECT_EQ(Labels(), "copied here|copied there first|copied here again|");
    EXPECT_EQ(listings_, listed);

    // Arriving under its final name: nothing while it is cut short, the clip once it is whole.
    WriteElsewhere(here + 2000, "arriving", false, 9);
    testsupport::PumpFor(700);
    EXPECT_EQ(Count(), 3);
    WriteElsewhere(here + 2000, "arriving");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 4; }, testsupport::kPatientMs)) << Labels();
    EXPECT_NE(Labels().find("arriving|"), std::string::npos) << Labels();
}

// Trimmed to this machine's limits, another machine's clip is only no longer listed here: its file stays for
// that machine. This machine's own files go with their clips.
TEST_F(HistorySyncTest, ThisMachinesLimitsDeleteOnlyItsOwnFiles) {
    Join();
    clips::SetHistorySize(2);
    ASSERT_TRUE(CopyText("mine first", 1));
    FlushHistoryWrites();
    ASSERT_TRUE(StartHistorySync(host_.window));
    const fs::path theirs = WriteElsewhere(ListHistoryFolder(folder_).clips.at(0).id.capturedAtMs - 60000, "theirs");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs)) << Labels();
    for (const char* text : {"mine second", "mine third"}) {
        ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); },
                             [&] { return host_.list.Model().ItemText(Count() - 1) == text; }));
        FlushHistoryWrites();
    }
    testsupport::PumpFor(700);  // a listing after the trims adds nothing back
    EXPECT_EQ(Labels(), "mine second|mine third|");
    EXPECT_TRUE(fs::exists(theirs));
    EXPECT_EQ(ListHistoryFolder(folder_).clips.size(), 3u);
}

}  // namespace
}  // namespace testing_store
}  // namespace history
