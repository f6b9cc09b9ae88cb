// The history on disk against the real clipboard and a real folder: clips of every kind come back after
// a restart and paste byte for byte as they were copied; a clip let go takes its file with it; files
// that are not whole clips are skipped and counted; another machine's files outlast this machine's limits.
#include "history/HistoryStore.h"

#include <commctrl.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "support/CaptureFixture.h"
#include "support/stored_clips.h"
#include "clips/ClipLimits.h"
#include "history/FolderKeyFile.h"
#include "history/FolderIndex.h"
#include "history/FolderKeys.h"
#include "history/HistoryFolder.h"
#include "history/SealedClipFile.h"
#include "seal/KeyStore.h"
#include "capture/PutBack.h"

namespace history {
namespace testing_store {
namespace {

using namespace capture::testing_capture;

namespace fs = std::filesystem;

COLORREF Checker(int x, int y) { return (x / 4 + y / 4) % 2 ? RGB(200, 30, 30) : RGB(20, 40, 220); }

class HistoryStoreTest : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);  // Wine numbers processes afresh in each prefix: the time tells runs apart
        folder_ = fs::path(L"Z:\\tmp") / (L"ardentia-store-" + std::to_wstring(now.QuadPart));
        fs::remove_all(folder_);
        sealer_ = KeyOfFolder(folder_).sealer;
        ASSERT_TRUE(sealer_);
        history_.Open(folder_, sealer_);
        SetWindowSubclass(host_.window, RouteListing, 1, reinterpret_cast<DWORD_PTR>(&history_));
    }
    void TearDown() override {
        history_.Close();
        RemoveWindowSubclass(host_.window, RouteListing, 1);
        fs::remove_all(folder_);
        CaptureTest::TearDown();
    }
    std::size_t FilesOnDisk() {
        history_.FlushWrites();
        return ListHistoryFolder(folder_, *sealer_).clips.size();
    }
    // The program ends (its holders cleared, its files kept) and starts again on the same folder.
    std::string Restart(const HistoryLimits& limits = HistoryLimits{}, const std::function<bool()>& sealAgain = nullptr) {
        history_.Close();
        clips_.Holders().Clear();
        EXPECT_TRUE(clips_.Holders().Init(host_.window));
        clips_.Tags() = clips::ClipCollection();
        host_.list.Model().Clear();
        history_.Open(folder_, sealer_);
        return history_.Restore(limits, sealAgain);
    }
    static LRESULT CALLBACK RouteListing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR store) {
        if (message == kFolderListedMessage) reinterpret_cast<HistoryStore*>(store)->ApplyFolderListing(lParam);
        else if (message == kIndexBlockMessage) reinterpret_cast<HistoryStore*>(store)->ApplyIndexBlock(lParam);
        else return DefSubclassProc(hwnd, message, wParam, lParam);
        return 0;
    }
    // Restart, then the folder's first listing merged: what changed while the program was not running shows.
    // What start-up said, and what the listing said of files it skipped.
    std::string RestartInStep(const std::function<bool()>& sealAgain = nullptr) {
        host_.refused.clear();
        const std::string said = Restart({}, sealAgain);
        EXPECT_TRUE(history_.StartSync(host_.window));
        EXPECT_TRUE(testsupport::PumpUntil([&] { return history_.InStep(); }, testsupport::kPatientMs));
        return said + (said.empty() || host_.refused.empty() ? "" : "; ") + host_.refused;
    }
    // Every format on the clipboard, as another program would read it.
    std::map<UINT, std::string> ClipboardFormats(const std::vector<UINT>& formats) {
        std::map<UINT, std::string> read;
        for (UINT format : formats)
            if (auto bytes = clipboard::ReadClipboardBytes(host_.window, format)) read[format] = *bytes;
        return read;
    }
    fs::path folder_;
    std::shared_ptr<const seal::KeySealer> sealer_;
};

TEST_F(HistoryStoreTest, EveryKindComesBackAfterARestartAndPastesAsItWasCopied) {
    Join();
    const UINT html = clipboard::HtmlFormat(), rtf = clipboard::RichTextFormat(),
               dropEffect = clipboard::DropEffectFormat();
    const std::string page = "Version:0.9\r\n<b>Grüße</b>";
    const std::string markup = "{\\rtf1\\ansi Gr\\u252?\\u223?e {\\b bold}}";
    const std::string drop = testsupport::WideDropFiles({L"C:\\a.txt", L"C:\\Grüße 日本.doc"});
    const DWORD move = DROPEFFECT_MOVE;
    std::vector<std::uint32_t> pixels(7 * 5, 0xFF2060A0u);
    const std::string png = pictures::EncodePng(pixels.data(), 7, 5).value_or("");
    const struct {
        std::function<void()> offer;
        std::vector<UINT> formats;  // what is compared after the restart
    } copies[] = {
        {[&] {
             testsupport::OfferWide(CF_UNICODETEXT, L"Grüße 日本 \U0001F600");
             testsupport::OfferText(html, page);
         },
         {CF_UNICODETEXT, html}},
        {[&] {
             testsupport::OfferText(rtf, markup);
             testsupport::OfferWide(CF_UNICODETEXT, L"Grüße bold");
         },
         {rtf, CF_UNICODETEXT}},
        {[] { SetClipboardData(CF_BITMAP, testsupport::MakeBitmap(40, 30, Checker)); }, {}},
        {[&] { testsupport::OfferText(pictures::PngFormat(), png); },
         {pictures::PngFormat()}},  // the source's own PNG, kept as it was
        {[&] {
             SetClipboardData(CF_HDROP, testsupport::GlobalBytes(drop.data(), drop.size()));
             SetClipboardData(dropEffect, testsupport::GlobalBytes(&move, sizeof(move)));
         },
         {CF_HDROP, dropEffect}},
    };
    std::vector<std::map<UINT, std::string>> copied;
    std::vector<std::string> labels;
    for (const auto& copy : copies) {
        const int before = Count();
        ASSERT_TRUE(PeerCopy(copy.offer, [&] { return Count() == before + 1; }));
        copied.push_back(ClipboardFormats(copy.formats));
        labels.push_back(host_.list.Model().ItemText(before));
    }
    EXPECT_EQ(FilesOnDisk(), std::size(copies));

    EXPECT_EQ(Restart(), "");
    ASSERT_EQ(Count(), int(std::size(copies)));
    for (int i = 0; i < Count(); ++i) {
        EXPECT_EQ(host_.list.Model().ItemText(0), labels[std::size_t(i)]) << i;
        EXPECT_TRUE(PutClipBack(0));  // the oldest each time: they come round in their order
        EXPECT_EQ(ClipboardFormats(copies[std::size_t(i)].formats), copied[std::size_t(i)]) << i;
    }
    ASSERT_TRUE(PutClipBack(2));  // the picture put back is the picture copied
    EXPECT_EQ(testsupport::PixelOf(clips_.Holders().Picture(clips_.Tags().Tag(Count() - 1).holder), 5, 7), Checker(5, 7));
    // Made newest again, each clip was written anew: still one file a clip.
    EXPECT_EQ(FilesOnDisk(), std::size(copies));
}

// A clip let go takes its file; a file not ours is counted, and left where it is.
TEST_F(HistoryStoreTest, AClipLetGoTakesItsFileAndAFileNotOursIsLeft) {
    Join();
    ASSERT_TRUE(CopyText("first", 1));
    ASSERT_TRUE(CopyText("second", 2));
    clips_.Remove(0);
    EXPECT_EQ(FilesOnDisk(), 1u);
    std::ofstream(folder_ / "0000000000002-theirs.clip", std::ios::binary) << "not a clip";
    EXPECT_EQ(RestartInStep(), "1 damaged clip file skipped");
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(host_.list.Model().ItemText(0), "second");
    EXPECT_TRUE(fs::exists(folder_ / "0000000000002-theirs.clip"));
}

// Past the newest 25, a restart lists clips from their headers and reads each when it is used; search
// reads its text from the file; a file damaged since takes its clip off the list when used, and stays;
// over the memory budget, a clip with its file goes back to the disk instead of going.
TEST_F(HistoryStoreTest, OlderClipsAreReadWhenUsedAndGoBackToTheDiskWhenMemoryIsShort) {
    Join();
    clips_.SetHistorySize(100);
    // The first is rich text offered alone: its plain text is read through the markup.
    ASSERT_TRUE(
        PeerCopy([] { testsupport::OfferText(clipboard::RichTextFormat(), "{\\rtf1\\ansi rich \\b alone\\b0\\par}"); },
                 [&] { return Count() == 1; }));
    for (int i = 1; i < 30; ++i) ASSERT_TRUE(CopyText("text " + std::to_string(i), i + 1));
    ASSERT_EQ(FilesOnDisk(), 30u);
    HistoryLimits limits;
    limits.clips = 100;
    EXPECT_EQ(Restart(limits), "");
    ASSERT_EQ(Count(), 30);
    EXPECT_FALSE(history_.ClipHeld(clips_.Tags().Tag(4)));
    EXPECT_TRUE(history_.ClipHeld(clips_.Tags().Tag(5)));
    std::string text;
    unsigned width = 0, height = 0;
    EXPECT_TRUE(history_.StoredClipSearchText(clips_.Tags().Tag(0), text, width, height));
    EXPECT_EQ(text, "rich alone");
    EXPECT_TRUE(history_.StoredClipSearchText(clips_.Tags().Tag(4), text, width, height));
    EXPECT_EQ(text, "text 4");

    const fs::path second = ListHistoryFolder(folder_, *sealer_).clips.at(1).File(folder_);
    std::fstream(second, std::ios::in | std::ios::out | std::ios::binary).seekp(-12, std::ios::end).put('!');
    EXPECT_FALSE(history_.UseClip(clips_.Tags().Tag(1)));
    EXPECT_EQ(host_.refused, "1 damaged clip file skipped");
    ASSERT_EQ(Count(), 29);
    EXPECT_TRUE(fs::exists(second));
    EXPECT_EQ(host_.list.Model().ItemText(1), "text 2");

    ASSERT_TRUE(PutClipBack(2));
    EXPECT_EQ(ClipboardText(), "text 3");
    EXPECT_TRUE(history_.ClipHeld(clips_.Tags().Tag(Count() - 1)));

    history_.SetBudget(history_.HeldBytes());
    int held = 0;
    while (!history_.ClipHeld(clips_.Tags().Tag(held))) ++held;
    const clips::ClipId tag = clips_.Tags().Tag(held);
    const std::string label = host_.list.Model().ItemText(held);
    ASSERT_TRUE(CopyText("one more", 30));
    EXPECT_LE(history_.HeldBytes(), history_.Budget());
    EXPECT_FALSE(history_.ClipHeld(tag));  // back on the disk, still listed
    EXPECT_EQ(clips_.Tags().Tag(held), tag);
    // Copied again, a clip on the disk only is found and made the newest, not listed twice.
    ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_TEXT, label); },
                         [&] { return clips_.Tags().Tag(Count() - 1) == tag; }));
    EXPECT_EQ(Count(), 30);
    // A clip read back counts too: older ones the disk holds make room for it.
    history_.SetBudget(history_.HeldBytes());
    ASSERT_FALSE(history_.ClipHeld(clips_.Tags().Tag(0)));
    ASSERT_TRUE(history_.UseClip(clips_.Tags().Tag(0)));
    EXPECT_TRUE(history_.ClipHeld(clips_.Tags().Tag(0)));
    EXPECT_LE(history_.HeldBytes(), history_.Budget());
}

TEST_F(HistoryStoreTest, PinsOutlastEveryLimitAndARestartAndAreAllAForgetfulHistoryKeeps) {
    Join();
    auto& list = host_.list.Model();
    const auto labels = [&] {
        std::string all;
        for (int i = 0; i < list.ListCount(); ++i) all += list.ItemText(i) + (list.ItemPinned(i) ? "*" : "") + " ";
        return all;
    };
    // The count stays at the limit: the copy is seen when it is the newest.
    const auto copy = [&](const std::string& text) {
        return PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); },
                        [&] { return list.ListCount() > 0 && list.ItemText(list.ListCount() - 1) == text; });
    };
    ASSERT_TRUE(copy("clip a"));
    list.SetItemPinned(0, true);
    history_.QueueRewrite(host_.window, clips_.Tags().Tag(0));
    ASSERT_EQ(FilesOnDisk(), 1u);
    clips_.SetHistorySize(3);
    for (const char* text : {"clip b", "clip c", "clip d", "clip e"}) ASSERT_TRUE(copy(text));
    EXPECT_EQ(labels(), "clip a* clip d clip e ");  // by count: the oldest unpinned went
    EXPECT_EQ(FilesOnDisk(), 3u);
    // By disk: a limit of two and a half files' bytes keeps the pin and the newest.
    history_.SetDiskLimit(ListHistoryFolder(folder_, *sealer_).clips.at(0).bytes * 5 / 2);
    ASSERT_TRUE(copy("clip f"));
    EXPECT_EQ(FilesOnDisk(), 2u);
    EXPECT_EQ(labels(), "clip a* clip f ");

    EXPECT_EQ(Restart(), "");
    EXPECT_EQ(labels(), "clip a* clip f ");
    // Not remembered: a new clip is not written, and the unpinned already stored go when asked; one on the
    // disk only that the memory budget has no room for goes unread.
    history_.SetRemember(false);
    ASSERT_TRUE(copy("clip g"));
    EXPECT_EQ(FilesOnDisk(), 2u);
    ASSERT_TRUE(history_.UnloadClip(clips_.Tags().Tag(1)));
    history_.SetBudget(history_.HeldBytes());
    history_.QueueRememberChoice(host_.window);
    history_.SetBudget(clips::kDefaultHistoryBudget);
    EXPECT_EQ(FilesOnDisk(), 1u);
    EXPECT_EQ(labels(), "clip a* clip g ");
    EXPECT_EQ(Restart(), "");
    EXPECT_EQ(labels(), "clip a* ");
}

// A folder that cannot be written (here a file stands where it should be made) keeps every clip in memory,
// past the 100 that clips read back from files may hold, says so once, and is written once it can be.
TEST_F(HistoryStoreTest, AFolderThatCannotBeWrittenLosesNoClipAndIsWrittenOnceItCan) {
    history_.Close();
    fs::path blocker = folder_;
    blocker += L"-blocker";
    std::ofstream(blocker) << "a file, not a folder";
    const fs::path unwritable = blocker / L"History";
    history_.Open(unwritable, sealer_);
    Join();
    clips_.SetHistorySize(200);
    const int copies = kClipsHeldInMemory + 30;
    for (int i = 0; i < copies; ++i) ASSERT_TRUE(CopyText("copy " + std::to_string(i), i + 1));
    history_.FlushWrites();
    EXPECT_NE(host_.refused.find("History folder " + unwritable.u8string() + " cannot be written ("), std::string::npos)
        << host_.refused;
    EXPECT_FALSE(history_.UnloadClip(clips_.Tags().Tag(0)));
    ASSERT_TRUE(PutClipBack(0));
    EXPECT_EQ(ClipboardText(), "copy 0");

    fs::remove(blocker);
    EXPECT_TRUE(testsupport::PumpUntil([&] {
        history_.FlushWrites();
        return ListHistoryFolder(unwritable, *sealer_).clips.size() == std::size_t(copies);
    }, testsupport::kPatientMs));
    EXPECT_FALSE(history_.ClipHeld(clips_.Tags().Tag(0)));  // past the 100 held, back on the disk that holds it now
    ASSERT_TRUE(PutClipBack(0));
    EXPECT_EQ(ClipboardText(), "copy 1");
    history_.Close();
    fs::remove_all(blocker);
    history_.Open(folder_, sealer_);
}

// A clip file anyone could have written: its label comes from what it holds, and only the formats a capture
// keeps go back on the clipboard.
TEST_F(HistoryStoreTest, AFileIsShownAsWhatItHoldsAndGivesBackOnlyWhatACaptureKeeps) {
    ClipFileContents clip;
    clip.header = {clips::kKindText, 1700000000000, false, "a harmless label"};
    const std::string group(600, '\x01');
    clip.formats = {{"#13", clips::UnicodeTextFormat("what Enter pastes").bytes},
                    {"FileGroupDescriptorW", group},
                    {"#2", std::string(8, '\x7f')}};  // a bitmap's handle, as bytes
    ASSERT_TRUE(WriteFileWhole(folder_ / ClipFileName({1700000000000, 0xE7E, *SealedContentId(clip.formats, *sealer_)}),
                               WriteSealedClipFile(clip, *sealer_)));
    EXPECT_EQ(RestartInStep(), "");
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(host_.list.Model().ItemText(0), "what Enter pastes");
    ASSERT_TRUE(PutClipBack(0));
    EXPECT_EQ(*UnicodeText(), "what Enter pastes");
    EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatA("FileGroupDescriptorW")));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
}

// A copy its program lets be kept but not leave this machine is listed, and never written to a shared folder.
TEST_F(HistoryStoreTest, ACopyForThisMachineOnlyStaysOutOfASharedFolder) {
    Join();
    history_.SetFolderShared(true);
    const UINT cloud = RegisterClipboardFormatA("CanUploadToCloudClipboard");
    ASSERT_TRUE(PeerCopy(
        [&] {
            testsupport::OfferText(CF_TEXT, "one-time code 424242");
            SetClipboardData(cloud, testsupport::GlobalBytes("\0\0\0\0", 4));
        },
        [&] { return Count() == 1; }));
    ASSERT_TRUE(CopyText("an ordinary copy", 2));
    EXPECT_EQ(FilesOnDisk(), 1u);
    ASSERT_TRUE(PutClipBack(0));
    EXPECT_EQ(ClipboardText(), "one-time code 424242");
}

// A folder's key is made once and found again; a key file changed, or naming a key this user does not hold,
// opens nothing.
TEST_F(HistoryStoreTest, AFolderOpensOnlyWithTheKeyItsKeyFileNames) {
    const FolderKey again = KeyOfFolder(folder_);
    ASSERT_TRUE(again.sealer);
    EXPECT_EQ(KeyIdOf(*again.sealer), KeyIdOf(*sealer_));
    EXPECT_TRUE(again.plainFilesSealed);  // made for a folder without clip files: none to seal
    ASSERT_TRUE(NotePlainFilesSealed(folder_, *again.sealer));
    EXPECT_TRUE(KeyOfFolder(folder_).plainFilesSealed);
    std::string bytes;
    ASSERT_TRUE(ReadFileWithin(folder_ / kFolderKeyFileName, 4096, bytes));
    bytes[12] ^= 1;  // the flag, cleared so that planted plain files would be sealed
    ASSERT_TRUE(WriteFileWhole(folder_ / kFolderKeyFileName, bytes));
    EXPECT_EQ(KeyOfFolder(folder_).problem, "The history folder's key file was changed: nothing is listed from it or "
                                            "written to it");
    bytes[12] ^= 1;
    bytes[16] ^= 1;  // the key's id
    ASSERT_TRUE(WriteFileWhole(folder_ / kFolderKeyFileName, bytes));
    EXPECT_FALSE(KeyOfFolder(folder_).sealer);
}

// Another machine, which does not hold the key, opens the folder with its passphrase and nothing else.
TEST_F(HistoryStoreTest, APassphraseOpensASharedFolderOnAMachineWithoutItsKey) {
    ASSERT_EQ(SetPassphrase(folder_, *sealer_, "the first one"), "");
    ASSERT_EQ(SetPassphrase(folder_, *sealer_, "correct horse"), "");  // changed: the old one opens nothing
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Ardentia\\History Keys");  // as on another machine
    EXPECT_TRUE(KeyOfFolder(folder_).asksPassphrase);
    EXPECT_FALSE(OpenWithPassphrase(folder_, "the first one").sealer);
    const FolderKey wrong = OpenWithPassphrase(folder_, "correct horsf");
    EXPECT_EQ(wrong.problem, "The passphrase does not open this history folder: nothing is listed from it or "
                             "written to it");
    const FolderKey right = OpenWithPassphrase(folder_, "correct horse");
    ASSERT_TRUE(right.sealer);
    EXPECT_EQ(KeyIdOf(*right.sealer), KeyIdOf(*sealer_));
    EXPECT_TRUE(KeyOfFolder(folder_).sealer);  // kept for this user from now on
}

// Two machines made a key for one folder at once and the other's key file stayed: the clips this user sealed
// with the key that lost join the folder's key at the next start.
TEST_F(HistoryStoreTest, ClipsOfAKeyThatLostJoinTheFoldersKey) {
    const seal::KeySealer lost(*seal::NewKey());
    ASSERT_TRUE(seal::StoreKey(KeyIdText(*KeyIdOf(lost)), lost.KeyBytes()));
    testsupport::StoreTextClip(folder_, lost, 1700000000000, "copied before the key files synced", 0xB0B);
    EXPECT_EQ(RestartInStep(), "1 clip file not sealed with this history's key skipped");
    EXPECT_EQ(Restart({}, [&] {
                  return SealFilesOfOtherKeys(folder_, *sealer_, OtherKeysHeld(*sealer_)).sealed > 0;
              }),
              "");
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(host_.list.Model().ItemText(0), "copied before the key files synced");
}

// A folder another machine writes too, watched for its changes (what that machine copies, pins and deletes
// showing here is two_machines.sh's, with two real programs).
class HistorySyncTest : public HistoryStoreTest {
protected:
    void SetUp() override {
        HistoryStoreTest::SetUp();
        history_.SetMachineId(0xA11CE);
    }
    // A clip as the other machine's Ardentia writes it, arriving through the sync service.
    fs::path WriteElsewhere(std::uint64_t at, const std::string& text) {
        return testsupport::StoreTextClip(folder_, *sealer_, at, text, 0xB0B);
    }
    std::string Labels() {
        std::string all;
        for (int i = 0; i < Count(); ++i) all += host_.list.Model().ItemText(i) + "|";
        return all;
    }
};

// Trimmed to this machine's limits, another machine's clip is only no longer listed here: its file stays for
// that machine. This machine's own files go with their clips.
TEST_F(HistorySyncTest, ThisMachinesLimitsDeleteOnlyItsOwnFiles) {
    Join();
    clips_.SetHistorySize(2);
    ASSERT_TRUE(CopyText("mine first", 1));
    history_.FlushWrites();
    ASSERT_TRUE(history_.StartSync(host_.window));
    const fs::path theirs = WriteElsewhere(ListHistoryFolder(folder_, *sealer_).clips.at(0).id.capturedAtMs - 60000, "theirs");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 2; }, testsupport::kPatientMs)) << Labels();
    for (const char* text : {"mine second", "mine third"}) {
        ASSERT_TRUE(PeerCopy([&] { testsupport::OfferText(CF_TEXT, text); },
                             [&] { return host_.list.Model().ItemText(Count() - 1) == text; }));
        history_.FlushWrites();
    }
    testsupport::PumpFor(700);  // a listing after the trims adds nothing back
    EXPECT_EQ(Labels(), "mine second|mine third|");
    EXPECT_TRUE(fs::exists(theirs));
    EXPECT_EQ(ListHistoryFolder(folder_, *sealer_).clips.size(), 3u);
}

// Start-up lists from the folder's index, which the folder's first listing brings in step with what changed
// while the program was not running; an index damaged or missing is made again from the files. No clip is lost.
TEST_F(HistorySyncTest, TheIndexIsBroughtInStepAndMadeAgainWithoutLosingAClip) {
    Join();
    const fs::path theirs = WriteElsewhere(1700000000000, "theirs");
    const fs::path gone = WriteElsewhere(1700000001000, "deleted elsewhere");
    EXPECT_EQ(Restart(), "");
    ASSERT_TRUE(CopyText("mine", 1));
    history_.Close();
    ASSERT_TRUE(fs::exists(IndexFileOf(folder_)));
    fs::remove(gone);
    WriteElsewhere(1700000002000, "added elsewhere");
    testsupport::StoreTextClip(folder_, *sealer_, 1700000000000, "theirs", 0xB0B, true);  // pinned there
    EXPECT_EQ(RestartInStep(), "");
    EXPECT_EQ(Labels(), "theirs|added elsewhere|mine|");
    EXPECT_TRUE(host_.list.Model().ItemPinned(0));
    // The index now says what the folder holds: the next start shows it at once.
    EXPECT_EQ(Restart(), "");
    EXPECT_FALSE(history_.InStep());
    EXPECT_EQ(Labels(), "theirs|added elsewhere|mine|");
    for (const char* index : {"damaged", "missing"}) {
        history_.Close();
        if (index == std::string("damaged")) ASSERT_TRUE(WriteFileWhole(IndexFileOf(folder_), "ARDIDX not an index"));
        else fs::remove(IndexFileOf(folder_));
        EXPECT_EQ(Restart(), "") << index;
        EXPECT_TRUE(history_.InStep()) << index;  // listed from the files
        EXPECT_EQ(Labels(), "theirs|added elsewhere|mine|") << index;
        EXPECT_TRUE(host_.list.Model().ItemPinned(0)) << index;
    }
    // Without an index, a long history shows its newest files at once; the folder's listing brings the others
    // before them and indexes the folder.
    history_.Close();
    fs::remove(IndexFileOf(folder_));
    history_.SetListedFirstWithoutIndex(2);
    EXPECT_EQ(Restart(), "");
    EXPECT_EQ(Labels(), "added elsewhere|mine|");
    EXPECT_FALSE(fs::exists(IndexFileOf(folder_)));
    EXPECT_TRUE(history_.StartSync(host_.window));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return history_.InStep(); }, testsupport::kPatientMs));
    EXPECT_EQ(Labels(), "theirs|added elsewhere|mine|");
    EXPECT_TRUE(host_.list.Model().ItemPinned(0));
    EXPECT_TRUE(fs::exists(IndexFileOf(folder_)));
    EXPECT_TRUE(fs::exists(theirs));
}

// A long history starts from its index's newest block, the older blocks listed behind it in their order; the
// folder's first listing then takes off what the index held and the folder no longer does.
TEST_F(HistorySyncTest, ALongHistoryIsListedFromItsIndexTheNewestFirst) {
    Join();
    clips_.SetHistorySize(clips::kMaxHistoryClips);
    ASSERT_TRUE(CopyText("real", 1));
    history_.Close();
    IndexedFolder index;
    for (std::uint64_t i = 0; i < 4500; ++i) {
        IndexedClip old;
        old.clip.id = {1600000000000 + i * 1000, 0xA11CE, i};
        old.clip.header = {clips::kKindText, old.clip.id.capturedAtMs, false, "old " + std::to_string(i)};
        old.search = StoredSearchText{clips::kKindText, "indexed text " + std::to_string(i), 0, 0, ""};
        index.clips.push_back(old);  // its file gone since
    }
    index.clips.push_back({ListHistoryFolder(folder_, *sealer_).clips.at(0), fs::file_time_type::min(), {}});
    ASSERT_TRUE(SaveFolderIndex(IndexFileOf(folder_), folder_, index, *sealer_));
    // The newest are read whole at start: the 24 without a file go at once.
    EXPECT_EQ(Restart(), "24 damaged clip files skipped");
    EXPECT_EQ(Count(), int(kNewestIndexBlockClips) - 24);
    EXPECT_TRUE(history_.ListingUnfinished());
    EXPECT_EQ(host_.list.Model().ItemText(Count() - 1), "real");
    history_.FinishListing();
    ASSERT_EQ(Count(), 4477);
    // Search reads what the index held: these files are gone.
    for (int i : {0, 1999, 2500, 4475}) {
        EXPECT_EQ(host_.list.Model().ItemText(i), "old " + std::to_string(i)) << i;
        std::string text;
        unsigned width = 0, height = 0;
        EXPECT_TRUE(history_.StoredClipSearchText(clips_.Tags().Tag(i), text, width, height, i));
        EXPECT_EQ(text, "indexed text " + std::to_string(i));
    }
    EXPECT_EQ(RestartInStep(), "24 damaged clip files skipped");
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(host_.list.Model().ItemText(0), "real");
}

}  // namespace
}  // namespace testing_store
}  // namespace history
