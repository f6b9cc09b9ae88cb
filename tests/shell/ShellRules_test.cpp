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

}  // namespace
}  // namespace shell
