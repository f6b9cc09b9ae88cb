#include "history/StoredSearchTexts.h"

#include <gtest/gtest.h>

namespace history {
namespace {

// Within its budget the least recently used text goes first; what is offered never pushes out what was kept, and a
// text larger than the whole budget is not kept at all.
TEST(StoredSearchTextsTest, TheLeastRecentlyUsedGoFirstAndOffersPushNothingOut) {
    const auto text = [](std::size_t length) { return StoredSearchText{"text", std::string(length, 'x'), 0, 0, ""}; };
    const auto id = [](std::uint64_t n) { return ClipFileId{n, 0, n}; };
    StoredSearchTexts texts(300);  // three texts of 36 characters, each counted with 64 bytes besides
    for (std::uint64_t n : {1, 2, 3}) texts.Keep(id(n), text(36));
    StoredSearchText found;
    ASSERT_TRUE(texts.Find(id(1), found));
    texts.Keep(id(4), text(36));
    texts.Offer(id(5), text(36));
    texts.Keep(id(6), text(400));
    const struct {
        std::uint64_t n;
        bool kept;
    } expected[] = {{1, true}, {2, false}, {3, true}, {4, true}, {5, false}, {6, false}};
    for (const auto& e : expected) EXPECT_EQ(texts.Has(id(e.n)), e.kept) << e.n;
    EXPECT_EQ(texts.Bytes(), 300u);
}

}  // namespace
}  // namespace history
