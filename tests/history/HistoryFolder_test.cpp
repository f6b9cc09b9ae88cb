// The history folder against a real folder: files are written whole, listed in the order captured with
// every file that is not a whole clip file counted once, and trimmed oldest unpinned first.
#include "history/HistoryFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <thread>

#include "clips/ClipCollection.h"
#include "history/FolderIndex.h"
#include "history/FolderTransfer.h"
#include "support/stored_clips.h"
#include "support/test_sealer.h"

namespace history {
namespace {

namespace fs = std::filesystem;

class HistoryFolderTest : public testing::Test {
protected:
    void SetUp() override {
        // Runs of these tests on one machine (native and under Wine, at once) each take a folder of their own.
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() / ("ardentia-history-" + std::to_string(now) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path Store(std::uint64_t at, const std::string& label, std::uint32_t machine = 7, bool pinned = false) {
        const fs::path file = testsupport::StoreTextClip(folder_, sealer_, at, label, machine, pinned);
        EXPECT_FALSE(file.empty());
        return file;
    }
    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }
    HistoryListing List(const fs::path& folder) { return ListHistoryFolder(folder, sealer_); }
    testsupport::TestSealer sealer_{42};
    fs::path folder_;
};

TEST_F(HistoryFolderTest, ClipsAreListedAsCapturedAndAnythingElseIsCountedOnceAndLeft) {
    Store(1700000000300, "third");
    const fs::path first = Store(1700000000100, "first");
    Store(1700000000200, "Grüße 日本");
    std::ifstream in(first, std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ClipFileContents newer;
    newer.header = {clips::kKindText, 1, false, "from a later version"};
    std::string later = WriteSealedClipFile(newer, sealer_), plain = WriteClipFile(newer);
    later[8] = 3;
    const testsupport::TestSealer stranger(43);
    const struct {
        const char* name;
        std::string bytes;
    } others[] = {
        {"0000000000001-cut.clip", whole.substr(0, whole.size() / 2)},
        {"0000000000002-empty.clip", ""},
        {"0000000000003-newer.clip", later},
        {"0000000000004-theirs.clip", "%PDF-1.7"},
        {"0000000000007-plain.clip", plain},  // the first version's, and sealed with another key: not believed
        {"0000000000008-stranger.clip", WriteSealedClipFile(newer, stranger)},
        {"0000000000005-left.clip.part", whole.substr(0, 10)},  // not a clip file: not counted
        {"notes.txt", "not ours, not a clip file"},
    };
    for (const auto& other : others) Put(other.name, other.bytes);
    for (const char* old : {"0000000000001-cut.clip", "0000000000002-empty.clip"})
        fs::last_write_time(folder_ / old, fs::file_time_type::clock::now() - std::chrono::hours(1));
    // Cut short but written to just now: a sync service is still bringing it.
    Put("0000000000006-coming.clip", whole.substr(0, whole.size() - 1));

    // A sync service's conflict copy of a file, and the same copy captured earlier on another machine: each
    // clip is listed once, the exact name and the newest capture.
    const fs::path third = List(folder_).clips.at(2).File(folder_);
    fs::copy_file(third, folder_ / (third.stem().u8string() + " (conflicted copy).clip"));
    Store(1700000000050, "third", 9);

    const HistoryListing listing = List(folder_);
    ASSERT_EQ(listing.clips.size(), 3u);
    EXPECT_EQ(listing.clips[2].File(folder_), third);
    EXPECT_EQ(listing.hidden.size(), 2u);
    EXPECT_EQ(listing.clips[0].header.label, "first");
    EXPECT_EQ(listing.clips[1].header.label, "Grüße 日本");
    EXPECT_EQ(listing.clips[2].header.label, "third");
    EXPECT_EQ(listing.clips[0].bytes, whole.size());
    EXPECT_EQ(listing.damaged, 4);
    EXPECT_EQ(listing.arriving, 1);
    EXPECT_EQ(listing.unsealed, 2);
    EXPECT_EQ(SkippedFilesLine(listing.damaged, listing.unsealed),
              "4 damaged clip files skipped; 2 clip files not sealed with this history's key skipped");
    EXPECT_EQ(SkippedFilesLine(0, 1), "1 clip file not sealed with this history's key skipped");
    EXPECT_EQ(SkippedFilesLine(1, 0), "1 damaged clip file skipped");
    EXPECT_EQ(SkippedFilesLine(0, 0), "");
    for (const auto& other : others) EXPECT_TRUE(fs::exists(folder_ / other.name)) << other.name;
    EXPECT_TRUE(List(folder_ / "missing").clips.empty());
}

// Copies of one content (captured on two machines, a sync service's conflict copy) show as one clip, pinned
// if any is; a clip deleted or written again here takes its older copies with it, so none comes back.
TEST_F(HistoryFolderTest, CopiesOfAClipShowAsOneAndGoWithIt) {
    const fs::path pinnedThere = Store(1700000000100, "same", 9, true);
    const fs::path kept = Store(1700000000200, "same", 7);
    fs::copy_file(kept, folder_ / (kept.stem().u8string() + " (conflicted copy).clip"));
    const fs::path other = Store(1700000000150, "other", 9);
    HistoryListing listing = List(folder_);
    ASSERT_EQ(listing.clips.size(), 2u);
    EXPECT_EQ(listing.clips[1].File(folder_), kept);
    EXPECT_TRUE(listing.clips[1].header.pinned);
    EXPECT_EQ(listing.hidden.size(), 2u);
    // A file named for that content that holds something else hides nothing, and one from the future does
    // not stay on top for good: both are refused.
    ClipFileContents planted;
    planted.header = {clips::kKindText, 1700000000250, false, "same"};
    planted.formats = {{"#13", "something else"}};
    const fs::path lying = folder_ / ClipFileName({1700000000250, 3, listing.clips[1].id.content});
    ASSERT_TRUE(WriteFileWhole(lying, WriteSealedClipFile(planted, sealer_)));
    const fs::path future = Store(4102444800000, "from 2100");
    listing = List(folder_);
    ASSERT_EQ(listing.clips.size(), 2u);
    EXPECT_EQ(listing.clips[1].File(folder_), kept);
    EXPECT_EQ(listing.damaged, 2);
    fs::remove(lying);
    fs::remove(future);

    const fs::path later = Store(1700000000300, "same", 5);
    RemoveOlderCopies(kept, sealer_);
    std::set<fs::path> left;
    for (const auto& entry : fs::directory_iterator(folder_)) left.insert(entry.path());
    EXPECT_EQ(left, (std::set<fs::path>{kept, other, later, pinnedThere}));  // another machine's pin stays
}

// A file of the same size and time as an earlier listing saw is not opened again (here its bytes were changed
// behind that time's back); any other change is read, and a conflict copy's header is its own.
TEST_F(HistoryFolderTest, AListingWithACacheOpensOnlyWhatChanged) {
    const fs::path plain = Store(1700000000100, "plain");
    const fs::path pinned = Store(1700000000200, "was pinned", 7, true);
    fs::copy_file(plain, folder_ / (plain.stem().u8string() + " (1).clip"));
    fs::rename(Store(1700000000300, "not its name"), folder_ / "somebody's.clip");
    const auto old = fs::last_write_time(plain) - std::chrono::minutes(5);
    for (const auto& entry : fs::directory_iterator(folder_)) fs::last_write_time(entry.path(), old);
    HeaderCache cache;
    ASSERT_EQ(ListHistoryFolder(folder_, sealer_, &cache).clips.size(), 3u);
    EXPECT_EQ(cache.Count(), 4u);

    std::string bytes;
    ASSERT_TRUE(ReadFileWithin(plain, 1 << 20, bytes));
    std::fill(bytes.begin(), bytes.end(), 'x');
    ASSERT_TRUE(WriteFileWhole(plain, bytes));
    fs::last_write_time(plain, old);
    fs::remove(pinned);
    Store(1700000000200, "was pinned");  // the same name, unpinned, written just now
    const HistoryListing listing = ListHistoryFolder(folder_, sealer_, &cache);
    ASSERT_EQ(listing.clips.size(), 3u);
    EXPECT_EQ(listing.clips[0].header.label, "plain");
    EXPECT_FALSE(listing.clips[1].header.pinned);
    EXPECT_EQ(listing.clips[2].header.label, "not its name");
    EXPECT_EQ(listing.clips[2].File(folder_), folder_ / "somebody's.clip");
    ASSERT_EQ(listing.hidden.size(), 1u);
    EXPECT_EQ(listing.hidden[0].File(folder_).filename(), plain.stem().u8string() + " (1).clip");
    EXPECT_EQ(listing.damaged, 0);
    fs::last_write_time(plain, old + std::chrono::seconds(2));
    EXPECT_EQ(ListHistoryFolder(folder_, sealer_, &cache).damaged, 1);
}

// The first version's plain files are sealed in place once: listed as before, nothing of them left in the clear.
TEST_F(HistoryFolderTest, PlainFilesAreSealedInPlace) {
    ClipFileContents clip;
    clip.header = {clips::kKindText, 1700000000100, true, "old secret"};
    clip.formats = {{"#13", common::Utf16Block("old secret")}};
    Put(ClipFileName({1700000000100, 5, ContentChecksum(clip.formats)}), WriteClipFile(clip));
    Put("0000000000009-theirs.clip", "%PDF-1.7");
    EXPECT_EQ(List(folder_).unsealed, 1);
    const FilesSealedAgain sealed = SealPlainFiles(folder_, sealer_);
    EXPECT_EQ(sealed.sealed, 1);
    EXPECT_EQ(sealed.failed, 0);
    const HistoryListing listing = List(folder_);
    ASSERT_EQ(listing.clips.size(), 1u);
    EXPECT_EQ(listing.clips[0].header, clip.header);
    EXPECT_EQ(listing.clips[0].id.machine, 5u);
    EXPECT_EQ(listing.unsealed, 0);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(bytes.find("old secret"), std::string::npos) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 2u);
}

// Two machines that made a key for one folder at once: the clips sealed with the key that lost join the
// folder's key where that key is held; a key not held opens nothing.
TEST_F(HistoryFolderTest, ClipsOfAnotherKeyHeldAreSealedAgainWithTheFolders) {
    const auto lost = std::make_shared<testsupport::TestSealer>(7), stranger = std::make_shared<testsupport::TestSealer>(8);
    testsupport::StoreTextClip(folder_, *lost, 1700000000100, "from the other key", 5, true);
    testsupport::StoreTextClip(folder_, *stranger, 1700000000200, "from a stranger", 5);
    Store(1700000000300, "the folder's own");
    EXPECT_EQ(List(folder_).unsealed, 2);
    const FilesSealedAgain sealed = SealFilesOfOtherKeys(folder_, sealer_, {lost});
    EXPECT_EQ(sealed.sealed, 1);
    EXPECT_EQ(sealed.failed, 0);
    const HistoryListing listing = List(folder_);
    ASSERT_EQ(listing.clips.size(), 2u);
    EXPECT_EQ(listing.clips[0].header.label, "from the other key");
    EXPECT_TRUE(listing.clips[0].header.pinned);
    EXPECT_EQ(listing.clips[0].id.machine, 5u);
    EXPECT_EQ(listing.unsealed, 1);
}

// A history taken to another folder: its clip files copied (or moved), one the target has already left as it
// is, anything else of the folder (its key file, a stranger's file) left behind; the new key seals them again.
TEST_F(HistoryFolderTest, ClipFilesAreTakenToAnotherFolderAndSealedThereAgain) {
    const fs::path copied = folder_ / "copied", moved = folder_ / "moved";
    Store(1700000000100, "first");
    const fs::path second = Store(1700000000200, "second", 7, true);
    Put("history.key", "key file");
    fs::create_directories(moved);
    fs::copy_file(second, moved / second.filename());
    const FilesTransferred copy = TransferClipFiles(folder_, copied, false);
    EXPECT_EQ(copy.done, 2);
    EXPECT_EQ(List(folder_).clips.size(), 2u);
    const FilesTransferred move = TransferClipFiles(folder_, moved, true);
    EXPECT_EQ(move.done, 2);
    EXPECT_EQ(move.failed, 0);
    EXPECT_TRUE(List(folder_).clips.empty());
    EXPECT_TRUE(fs::exists(folder_ / "history.key"));
    EXPECT_FALSE(fs::exists(moved / "history.key"));
    const testsupport::TestSealer newKey(43);
    EXPECT_EQ(SealFilesOfOtherKeys(moved, newKey, {std::make_shared<testsupport::TestSealer>(42)}).sealed, 2);
    const HistoryListing listing = ListHistoryFolder(moved, newKey);
    ASSERT_EQ(listing.clips.size(), 2u);
    EXPECT_EQ(listing.clips[1].header.label, "second");
    EXPECT_TRUE(listing.clips[1].header.pinned);
    EXPECT_EQ(TransferClipFiles(folder_ / "never", moved, true).done, 0);
}

TEST_F(HistoryFolderTest, AFileIsWrittenWholeUnderItsNameOrNotAtAll) {
    const fs::path file = Store(1700000000000, "once");
    EXPECT_EQ(fs::file_size(file), List(folder_).clips.at(0).bytes);
    // The same clip again has the same name: writing it again keeps one file.
    Store(1700000000000, "once");
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) files += entry.is_regular_file();
    EXPECT_EQ(files, 1u);
    // Written again with another header (pinned now), the same name holds the new bytes.
    ASSERT_EQ(Store(1700000000000, "once", 7, true), file);
    EXPECT_TRUE(List(folder_).clips.at(0).header.pinned);
    // A folder that cannot be written leaves no file behind.
    EXPECT_FALSE(WriteFileWhole(folder_ / "no such folder" / "x.clip", "bytes"));
    EXPECT_FALSE(fs::exists(folder_ / "no such folder"));
    // A rename that cannot be made is no success because something of that name is there, nor is a delete.
    fs::create_directories(folder_ / "taken.clip" / "inside");
    std::string why;
    EXPECT_FALSE(WriteFileWhole(folder_ / "taken.clip", "bytes", &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(fs::exists(folder_ / "taken.clip.part"));
    EXPECT_FALSE(RemoveFile(folder_ / "taken.clip", &why));
    EXPECT_TRUE(RemoveFile(folder_ / "never there.clip"));
    // What a crash left: this machine's unfinished file goes, another machine's may still be under way.
    const fs::path mine = folder_ / (ClipFileName({1, 7, 2}) + ".part"),
                   theirs = folder_ / (ClipFileName({1, 8, 2}) + ".part");
    std::ofstream(mine) << "half";
    std::ofstream(theirs) << "half";
    EXPECT_EQ(RemoveUnfinishedFiles(folder_, 7), 1);
    EXPECT_FALSE(fs::exists(mine));
    EXPECT_TRUE(fs::exists(theirs));
}

// Other programs hold our files for a moment (a sync client, a scanner): our reads never stop them deleting
// one, and their hold is waited for, not taken for success or failure at once.
TEST_F(HistoryFolderTest, FilesHeldOpenByUsOrByOthersForAMomentAreStillReplacedAndDeleted) {
    const fs::path file = Store(1700000000000, "held");
    std::FILE* ours = OpenSharing(file, false);
    ASSERT_NE(ours, nullptr);
    std::string why;
    EXPECT_TRUE(RemoveFile(file, &why)) << why;
    std::fclose(ours);
    EXPECT_FALSE(fs::exists(file));
    for (const bool removing : {false, true}) {
        std::ofstream(file) << "theirs";
        auto theirs = std::make_unique<std::ifstream>(file);  // the C library shares no delete on Windows
        std::thread release([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            theirs.reset();
        });
        EXPECT_TRUE(removing ? RemoveFile(file, &why) : WriteFileWhole(file, "ours", &why)) << why;
        release.join();
        EXPECT_EQ(fs::exists(file), !removing);
    }
}

TEST(ClipFileNames, AnIdIsReadFromItsNameAndFromAConflictCopysName) {
    const ClipFileId id{1700000000123, 0xA1B2C3D4, 0x0123456789abcdefull};
    const std::string name = ClipFileName(id);
    EXPECT_EQ(name, "1700000000123-a1b2c3d4-0123456789abcdef.clip");
    const std::string stem = name.substr(0, name.size() - 5);
    const struct {
        std::string name;
        bool parsed, exact;
        ClipFileId id;
    } cases[] = {
        {name, true, true, id},
        {stem + " (Ann's conflicted copy 2026-12-08).clip", true, false, id},
        {stem + ".sync-conflict-20261208-101010-ABCDEFG.clip", true, false, id},
        {stem + " (1).clip", true, false, id},
        {"1700000000123-0123456789abcdef.clip",
         true,
         true,
         {1700000000123, 0, 0x0123456789abcdefull}},  // first version
        {stem + ".clip.part", false, false, {}},
        {stem + "0.clip", false, false, {}},  // more digits: another name altogether
        {"170000000012-a1b2c3d4-0123456789abcdef.clip", false, false, {}},
        {"1700000000123-A1B2C3D4-0123456789abcdef.clip", false, false, {}},
        {"notes.clip", false, false, {}},
    };
    for (const auto& c : cases) {
        bool exact = true;
        const auto parsed = ParseClipFileName(c.name, exact);
        EXPECT_EQ(parsed.has_value(), c.parsed) << c.name;
        if (parsed) {
            EXPECT_TRUE(*parsed == c.id) << c.name;
        }
        EXPECT_EQ(exact, c.exact) << c.name;
    }
}

TEST(ClipFileNames, AClipFromElsewhereGoesWhereItsCaptureTimePutsIt) {
    const std::vector<std::uint64_t> times = {10, 20, 20, 30};
    const struct {
        std::uint64_t at;
        std::size_t place;
    } cases[] = {{5, 0}, {10, 1}, {15, 1}, {20, 3}, {25, 3}, {40, 4}};
    for (const auto& c : cases) EXPECT_EQ(PlaceByTime(times, c.at), c.place) << c.at;
    EXPECT_EQ(PlaceByTime({}, 7), 0u);
}

TEST(HistoryLimits, SettingsAndTrimmingOldestUnpinnedFirst) {
    // A value not understood limits nothing: a start must not delete clips over a typo.
    const std::optional<std::string> unset;
    const struct {
        std::optional<std::string> size, disk;
        std::size_t clips;
        std::uint64_t diskBytes;
        bool understood;
    } settings[] = {
        {unset, unset, 25, 1024ull << 20, true},          {"500", "64", 500, 64ull << 20, true},
        {"100000", "1048576", 100000, 1ull << 40, true},  {"100001", "0", 100000, 1ull << 40, false},
        {"-5", "12MB", 100000, 1ull << 40, false},        {" 25", unset, 100000, 1024ull << 20, false},
        {"", "99999999999", 100000, 1ull << 40, false},
    };
    for (const auto& s : settings) {
        const HistoryLimits limits = HistoryLimitsFromSettings(s.size, s.disk);
        EXPECT_EQ(limits.clips, s.clips) << s.size.value_or("unset");
        EXPECT_EQ(limits.diskBytes, s.diskBytes) << s.disk.value_or("unset");
        EXPECT_EQ(limits.sizeUnderstood && limits.diskUnderstood, s.understood) << s.size.value_or("unset");
    }
    // Five clips of 100 bytes, oldest first; the second is pinned.
    std::vector<StoredClip> clips(5);
    for (std::size_t i = 0; i < clips.size(); ++i) clips[i].bytes = 100;
    clips[1].header.pinned = true;
    const struct {
        std::size_t count;
        std::uint64_t bytes;
        std::vector<std::size_t> removed;
    } trims[] = {
        {5, 500, {}},
        {3, 500, {0, 2}},        // the pinned one stays though older
        {5, 250, {0, 2, 3}},     // bytes decide
        {1, 100000, {0, 2, 3, 4}},  // pinned clips stay beyond the limit
    };
    for (const auto& t : trims)
        EXPECT_EQ(ClipsToRemove(clips, {t.count, t.bytes}), t.removed) << t.count << " " << t.bytes;
}

// The folder's index gives back the clips in their order, a block at a time, the newest first, and only for
// the folder and key it was written for.
TEST_F(HistoryFolderTest, AnIndexGivesBackItsClipsInOrderAndNothingElseIsBelieved) {
    IndexedFolder indexed;
    indexed.damaged = 2;
    for (std::uint64_t i = 0; i < 2 * kIndexBlockClips + 7; ++i) {
        IndexedClip clip;
        clip.clip.id = {1700000000000 + i, 7, i * 31};
        // A sync service's copy keeps its name.
        if (i == 3) clip.clip.otherFile = (folder_ / (ClipFileName(clip.clip.id) + " (1).clip")).native();
        clip.clip.bytes = 100 + i;
        clip.clip.header = {i % 2 ? clips::kKindText : clips::kKindPicture, clip.clip.id.capturedAtMs, i % 5 == 0,
                            "Grüße " + std::to_string(10000 + i), clip.clip.bytes};
        clip.written = i % 3 ? fs::file_time_type::min() : fs::file_time_type::clock::now();
        if (i % 4 == 0) clip.search = StoredSearchText{clip.clip.header.kind, "text " + std::to_string(10000 + i), 3, 4, ""};
        indexed.clips.push_back(clip);
    }
    const fs::path index = FolderIndexFile(folder_ / "indexes", folder_);
    EXPECT_EQ(FolderIndexFile(folder_ / "indexes", fs::path(folder_.u8string() + "/")), index);
    ASSERT_TRUE(SaveFolderIndex(index, folder_, indexed, sealer_));
    // Every block, the oldest first; nothing when the index or any block is not believed.
    const auto all = [&](const fs::path& folder, const common::Sealer& sealer) -> std::optional<std::vector<IndexedClip>> {
        FolderIndexBlocks blocks;
        if (!blocks.Read(index, folder, std::shared_ptr<const common::Sealer>(&sealer, [](const common::Sealer*) {})))
            return std::nullopt;
        std::vector<IndexedClip> clips;
        for (std::size_t n = blocks.Count(); n > 0; --n) {
            auto block = blocks.Block(n - 1);
            if (!block) return std::nullopt;
            clips.insert(clips.end(), block->begin(), block->end());
        }
        EXPECT_EQ(blocks.Damaged(), 2);
        return clips;
    };
    const auto back = all(folder_, sealer_);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), indexed.clips.size());
    for (std::size_t i = 0; i < back->size(); ++i) {
        const StoredClip &was = indexed.clips[i].clip, &is = (*back)[i].clip;
        const auto &searchWas = indexed.clips[i].search, &searchIs = (*back)[i].search;
        EXPECT_TRUE(is.otherFile == was.otherFile && is.File(folder_) == was.File(folder_) && is.id == was.id && is.bytes == was.bytes && is.header == was.header &&
                    (*back)[i].written == indexed.clips[i].written && bool(searchIs) == bool(searchWas) &&
                    (!searchIs || (searchIs->kind == was.header.kind && searchIs->text == searchWas->text &&
                                   searchIs->width == 3 && searchIs->height == 4)))
            << i;
    }
    FolderIndexBlocks newest;
    ASSERT_TRUE(newest.Read(index, folder_, std::shared_ptr<const common::Sealer>(&sealer_, [](const common::Sealer*) {})));
    EXPECT_EQ(newest.Block(0)->back().clip.header.label, indexed.clips.back().clip.header.label);

    std::string sealed;
    ASSERT_TRUE(ReadFileWithin(index, kMostIndexBytes, sealed));
    std::string flipped = sealed, swapped = sealed;
    flipped[flipped.size() / 2] ^= 1;
    // The first two blocks are as long (2,000 clips each): their places swapped.
    const std::size_t first = 16 + 8, length = std::size_t(sealed[16] & 0xFF) | std::size_t(sealed[17] & 0xFF) << 8 |
                                                  std::size_t(sealed[18] & 0xFF) << 16;
    swapped.replace(first, length, sealed.substr(first + length + 8, length));
    swapped.replace(first + length + 8, length, sealed.substr(first, length));
    const testsupport::TestSealer stranger(43);
    const struct {
        const char* what;
        std::string bytes;
        const common::Sealer& sealer;
        fs::path folder;
    } refused[] = {
        {"another folder's", sealed, sealer_, folder_ / "other"},
        {"another key's", sealed, stranger, folder_},
        {"damaged", flipped, sealer_, folder_},
        {"blocks swapped", swapped, sealer_, folder_},
        {"cut short", sealed.substr(0, sealed.size() - 40), sealer_, folder_},
        {"empty", "", sealer_, folder_},
    };
    for (const auto& r : refused) {
        ASSERT_TRUE(WriteFileWhole(index, r.bytes));
        EXPECT_FALSE(all(r.folder, r.sealer)) << r.what;
    }
}

}  // namespace
}  // namespace history
