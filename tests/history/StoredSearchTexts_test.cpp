// Search texts of clips on the disk only stay within their budget: asked-for ones push out the least
// recently used, reading ahead only fills what is free.
#include "history/StoredSearchTexts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace history {
namespace {

StoredSearchText Text(char letter) { return {"TXT", std::string(300, letter), 0, 0, ""}; }  // 364 bytes kept

TEST(StoredSearchTexts, TheLeastRecentlyUsedGoFirstAndReadingAheadStopsAtTheBudget) {
    StoredSearchTexts texts(1000);
    const ClipFileId a{1, 0, 1}, b{2, 0, 2}, c{3, 0, 3}, d{4, 0, 4};
    StoredSearchText found;
    texts.Keep(a, Text('a'));
    texts.Keep(b, Text('b'));
    ASSERT_TRUE(texts.Find(a, found));
    texts.Keep(c, Text('c'));  // b is the least recently used
    EXPECT_TRUE(texts.Find(a, found));
    EXPECT_EQ(found.text, std::string(300, 'a'));
    EXPECT_FALSE(texts.Find(b, found));
    EXPECT_TRUE(texts.Find(c, found));
    StoredSearchText huge = Text('h');
    huge.text.resize(2000);
    texts.Keep(d, huge);  // larger than the whole budget: kept nowhere, and pushes nothing out
    EXPECT_FALSE(texts.Find(d, found));
    EXPECT_EQ(texts.Bytes(), 728u);

    texts.Clear();
    texts.ReadAhead({{d, "d"}, {c, "c"}, {b, "b"}, {a, "a"}},
                    [](const std::filesystem::path& file, StoredSearchText& read) {
                        read = Text(file.string()[0]);
                        return file != "c";  // a damaged file is passed over
                    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (texts.Bytes() < 728 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    texts.Stop();
    EXPECT_TRUE(texts.Find(d, found));
    EXPECT_FALSE(texts.Find(c, found));
    EXPECT_TRUE(texts.Find(b, found));
    EXPECT_EQ(found.text, std::string(300, 'b'));
    EXPECT_FALSE(texts.Find(a, found));
}

}  // namespace
}  // namespace history
