#include "common/Utf8.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(Utf8, RoundTripsEveryPlaneAndReplacesWhatDoesNotDecode) {
    const std::string samples[] = {"", "plain", "Grüße 日本 ✓ €", "Привет שלום", "emoji 😀 end", "\xF4\x8F\xBF\xBF"};
    for (const std::string& s : samples) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s) << s;
    EXPECT_EQ(Utf8ToUtf16("😀"), std::u16string({0xD83D, 0xDE00}));
    const struct {
        std::string in, out;
    } bad[] = {
        {"a\xFF" "b", "a\uFFFD" "b"},           // not a lead byte
        {"\xE6\x97", "\uFFFD\uFFFD"},            // cut short at the end
        {"\xC0\xAF", "\uFFFD\uFFFD"},            // over-long
        {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},  // a surrogate written as UTF-8
    };
    for (const auto& c : bad) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(c.in)), c.out) << c.in;
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
    EXPECT_EQ(Utf16ToUtf8(lone, 4), "x\uFFFDy\uFFFD");
}

TEST(Utf8, CountsAndCutsByCharacterAndFoldsCaseBeyondAscii) {
    EXPECT_EQ(CodePointCount("Grüße 日本 ✓ €😀"), 13u);
    EXPECT_EQ(Utf8Prefix("日本語", 2), "日本");
    EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
    const struct {
        const char *in, *folded;
    } cases[] = {{"ABC xyz", "abc xyz"}, {"ÄÖÜ ÀÞ ×", "äöü àþ ×"}, {"ĀĞŁŽ", "āğłž"}, {"ΑΒΓΩ", "αβγω"},
                 {"ПРИВЕТ ЁЖ", "привет ёж"}, {"ԱԲ", "աբ"}, {"ＡＢ", "ａｂ"}, {"日本 😀", "日本 😀"}};
    for (const auto& c : cases) EXPECT_EQ(FoldCase(c.in), c.folded) << c.in;
}

}  // namespace
}  // namespace common
