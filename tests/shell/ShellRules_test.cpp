// Rules of the shell helpers that need no Win32: title trimming, the tray's text fields and the skin
// file. The record as a whole, its notices and balloon times are checked where the tray control sends
// and receives them (TrayIcon_test); the start-up entry's data where it is written (RunKeyEntry_test).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "shell/ApplicationTitle.h"
#include "shell/Skin.h"
#include "shell/TrayRules.h"

namespace shell {
namespace {

TEST(ApplicationTitle, DropsTheLastWordAtLeastOnceAndUntilShort) {
    const std::string fortyFive = std::string(30, 'a') + " " + std::string(9, 'b') + " cc dd";
    const struct {
        std::string name, title;
    } cases[] = {
        {"Ardentia", "Ardentia"},                  // no space: stays whole
        {"Ardentia Clipboard Manager", "Ardentia Clipboard"},  // short: one word dropped
        {fortyFive, std::string(30, 'a') + " " + std::string(9, 'b')},  // 46 -> 43 -> 40
        {std::string(50, 'x') + " y", std::string(50, 'x')},  // no more spaces: stops long
        {"trailing ", "trailing"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimApplicationTitle(c.name), c.title) << c.name;
}

// Each shell field holds its text and a NUL; a character outside the BMP is kept whole or left out whole.
TEST(TrayFieldText, CutsToTheFieldAndNeverHalvesASurrogatePair) {
    const struct {
        std::string text;
        std::size_t units;
        std::u16string expected;
    } cases[] = {
        {"", 128, u""},
        {"abc", 4, u"abc"},
        {"abcd", 4, u"abc"},
        {std::string(200, 'T'), 128, std::u16string(127, u'T')},
        {"Grüße 日本 ✓", 128, u"Grüße 日本 ✓"},
        {"a\xF0\x9F\x98\x80", 4, u"a\U0001F600"},  // two units and the NUL: fits
        {"a\xF0\x9F\x98\x80", 3, u"a"},             // the pair would be cut: left out
        {"abc", 0, u""},
    };
    for (const auto& c : cases) EXPECT_EQ(TrayFieldText(c.text, c.units), c.expected) << c.text << "/" << c.units;
}

TEST(Skin, FileTextParsesOrNamesTheBadLine) {
    EXPECT_EQ(SkinFilePath("C:\\Apps\\Ardentia"), "C:\\Apps\\Ardentia\\x\\o.cjs");
    EXPECT_EQ(SkinFilePath("C:\\"), "C:\\x\\o.cjs");
    const SkinColours c = ParseSkin("# blue\r\nFace = 3366CC\r\n\r\nText=ffffff\r\nOther=000000\r\n");
    EXPECT_EQ(c.face, 0xCC6633u);  // stored as 0x00BBGGRR
    EXPECT_TRUE(c.hasText);
    EXPECT_EQ(c.text, 0xFFFFFFu);
    EXPECT_FALSE(ParseSkin("Face=000000").hasText);

    const struct {
        const char* text;
        const char* message;
    } bad[] = {
        {"Face=12345", "line 1"}, {"\nFace=GG0000", "line 2"}, {"Face", "line 1"}, {"Text=000000", "no Face"}, {"", "no Face"},
    };
    for (const auto& b : bad) {
        try {
            ParseSkin(b.text);
            ADD_FAILURE() << "accepted: " << b.text;
        } catch (const SkinError& e) {
            EXPECT_NE(std::string(e.what()).find(b.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace shell
