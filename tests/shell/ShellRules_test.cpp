// Rules of the shell helpers that need no Win32: title trimming, the tray's text fields and the skin
// file. The record as a whole, its notices and balloon times are checked where the tray control sends
// and receives them (TrayIcon_test); the start-up entry's data where it is written (RunKeyEntry_test).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "shell/ApplicationTitle.h"
#include "shell/LookColours.h"
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

// The look follows the registry's app theme (only 0 is dark), high contrast over all; dark text is never dark
// on dark, and high contrast takes every colour from the system.
TEST(LookColoursTest, TheLookAndItsColoursComeFromTheSystem) {
    const std::uint32_t dark = 0, light = 1, odd = 7;
    EXPECT_EQ(LookOf(false, &dark), Look::kDark);
    EXPECT_EQ(LookOf(false, &light), Look::kLight);
    EXPECT_EQ(LookOf(false, &odd), Look::kLight);
    EXPECT_EQ(LookOf(false, nullptr), Look::kLight);
    EXPECT_EQ(LookOf(true, &dark), Look::kHighContrast);
    EXPECT_FALSE(LookRecolours(Look::kLight));
    const auto brightness = [](std::uint32_t c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF); };
    const LookColours inDark = ColoursOfLook(Look::kDark, [](int) { return 0u; });
    for (std::uint32_t back : {inDark.back, inDark.face}) EXPECT_GT(brightness(inDark.text), brightness(back) + 400);
    EXPECT_GT(brightness(inDark.selectedText), brightness(inDark.selectedBack) + 300);
    const LookColours contrast = ColoursOfLook(Look::kHighContrast, [](int index) { return std::uint32_t(index); });
    EXPECT_EQ(contrast.back, std::uint32_t(kSysWindow));
    EXPECT_EQ(contrast.text, std::uint32_t(kSysWindowText));
    EXPECT_EQ(contrast.selectedBack, std::uint32_t(kSysHighlight));
}

}  // namespace
}  // namespace shell
