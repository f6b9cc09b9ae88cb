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

// Texts let go and texts kept again in their place leave what stays whole, through the packing of what is kept.
TEST(StoredSearchTextsTest, WhatStaysIsWholeAfterOthersGo) {
    StoredSearchTexts texts;
    const auto text = [](std::uint64_t n) {
        return StoredSearchText{n % 3 ? "TXT" : "RTF", std::string(40000 + n, char('a' + n % 26)), unsigned(n), 7,
                                n % 3 ? "" : "{\\rtf1 " + std::to_string(n) + "}"};
    };
    for (std::uint64_t n = 0; n < 300; ++n) texts.Keep({n, 0, n}, text(n));
    for (std::uint64_t n = 0; n < 300; ++n)
        if (n % 4) texts.Forget({n, 0, n});
    for (std::uint64_t n = 0; n < 300; n += 8) texts.Keep({n, 0, n}, text(n + 1));
    for (std::uint64_t n = 0; n < 300; ++n) {
        StoredSearchText found;
        const StoredSearchText want = text(n % 8 ? n : n + 1);
        ASSERT_EQ(texts.Find({n, 0, n}, found), n % 4 == 0) << n;
        if (n % 4) continue;
        EXPECT_TRUE(found.kind == want.kind && found.text == want.text && found.markup == want.markup &&
                    found.width == want.width && found.height == 7)
            << n;
    }
}

}  // namespace
}  // namespace history
