// The merge rules as tables: what a listing of the shared folder adds, removes and re-pins here.
#include "history/FolderMerge.h"

#include <gtest/gtest.h>

namespace history {
namespace {

using history::ClipFileId;

StoredClip Listed(std::uint64_t at, bool pinned = false) {
    StoredClip clip;
    clip.id = {at, 2, at * 7};
    clip.header.capturedAtMs = at;
    clip.header.pinned = pinned;
    return clip;
}

std::vector<std::uint64_t> Times(const std::vector<StoredClip>& clips) {
    std::vector<std::uint64_t> times;
    for (const auto& clip : clips) times.push_back(clip.id.capturedAtMs);
    return times;
}

std::vector<std::uint64_t> Times(const std::vector<ClipFileId>& ids) {
    std::vector<std::uint64_t> times;
    for (const auto& id : ids) times.push_back(id.capturedAtMs);
    return times;
}

TEST(FolderMerge, AListingAddsRemovesAndRepinsWhatChangedElsewhere) {
    const auto known = [](std::uint64_t at, bool pinned = false, bool settled = true) {
        return KnownClip{{at, 2, at * 7}, pinned, settled};
    };
    const struct {
        const char* what;
        std::vector<KnownClip> known;
        std::vector<StoredClip> listed;
        std::set<ClipFileId> deletedHere;
        std::vector<std::uint64_t> added, removed, repinned;
    } cases[] = {
        {"nothing changed", {known(1), known(2)}, {Listed(1), Listed(2)}, {}, {}, {}, {}},
        {"copied elsewhere", {known(1)}, {Listed(1), Listed(3), Listed(2)}, {}, {3, 2}, {}, {}},
        {"deleted elsewhere", {known(1), known(2)}, {Listed(2)}, {}, {}, {1}, {}},
        {"still being written here", {known(1), known(2, false, false)}, {Listed(1)}, {}, {}, {}, {}},
        {"deleted here, not yet gone", {known(1)}, {Listed(1), Listed(5)}, {{5, 2, 35}}, {}, {}, {}},
        {"pinned elsewhere", {known(1), known(2, true)}, {Listed(1, true), Listed(2)}, {}, {}, {}, {1, 2}},
        {"pinned here, not yet written", {known(1, true, false)}, {Listed(1)}, {}, {}, {}, {}},
        {"a machine that was off", {}, {Listed(1), Listed(2)}, {}, {1, 2}, {}, {}},
    };
    for (const auto& c : cases) {
        HistoryListing listing;
        listing.clips = c.listed;
        const FolderChanges changes = ChangesBetween(c.known, listing, c.deletedHere);
        EXPECT_EQ(Times(changes.added), c.added) << c.what;
        EXPECT_EQ(Times(changes.removed), c.removed) << c.what;
        std::vector<std::uint64_t> repinned;
        for (const auto& [id, pinned] : changes.repinned) repinned.push_back(id.capturedAtMs);
        EXPECT_EQ(repinned, c.repinned) << c.what;
        EXPECT_EQ(changes.Empty(), c.added.empty() && c.removed.empty() && c.repinned.empty()) << c.what;
    }
}

}  // namespace
}  // namespace history
