#include "mainwindow/PopupRules.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

TEST(PopupRules, TypingFiltersNewestFirstForEveryLetterAndPictureSizes) {
    const std::vector<PopupClip> clips = {{"TXT", "Grüße aus KÖLN"}, {"PIC", "", 4000, 3000}, {"RTF", "Привет мир"},
                                          {"FIL", "C:\\Reports\\Q3.xlsx\r\n"}, {"TXT", "köln again"}};
    const struct {
        const char* query;
        std::vector<int> shown;
    } cases[] = {
        {"", {4, 3, 2, 1, 0}}, {"köln", {4, 0}},   {"GRÜSSE", {}}, {"grüße", {0}},  {"ПРИВЕТ", {2}},
        {"picture", {1}},      {"4000x3000", {1}}, {"3000", {1}},  {"q3.XLSX", {3}}, {"nothing", {}},
    };
    std::vector<std::string> keys;
    for (const PopupClip& clip : clips) keys.push_back(SearchKey(clip));
    for (const auto& c : cases) EXPECT_EQ(ShownClips(keys, c.query), c.shown) << c.query;
}

TEST(PopupRules, ThePopupIsAsTallAsTheRowsItShowsWithinTheWorkArea) {
    const struct {
        int rows, dpi, workHeight;
        PopupSize size;
    } cases[] = {
        {2, 96, 1000, {422, 24 + 2 * 18 + 2}},   {0, 96, 1000, {422, 24 + 18 + 2}},
        {40, 96, 1000, {422, 24 + 15 * 18 + 2}}, {40, 192, 1000, {842, 24 + 15 * 18 + 2}},
        {10, 96, 120, {422, 24 + 5 * 18 + 2}},   {10, 96, 10, {422, 24 + 18 + 2}},
    };
    for (const auto& c : cases) {
        const PopupSize size = SizePopup(c.rows, 18, 24, 1, c.dpi, 1280, c.workHeight);
        EXPECT_EQ(size.width, c.size.width) << c.rows << " rows at " << c.dpi;
        EXPECT_EQ(size.height, c.size.height) << c.rows << " rows in " << c.workHeight;
    }
    EXPECT_EQ(SizePopup(3, 18, 24, 1, 96, 300, 1000).width, 300);
}

TEST(PopupRules, HotkeysNeedAModifierAndOneKnownKey) {
    const struct {
        const char* text;
        std::optional<Hotkey> hotkey;
    } cases[] = {
        {kDefaultHotkey, Hotkey{kModControl | kModAlt, 'H'}},
        {"shift + win + f9", Hotkey{kModShift | kModWin, 0x78}},
        {"Ctrl+Shift+Insert", Hotkey{kModControl | kModShift, 0x2D}},
        {"Control+7", Hotkey{kModControl, '7'}},
        {"H", std::nullopt},          {"Ctrl+", std::nullopt},   {"Ctrl+H+J", std::nullopt},
        {"Ctrl+Banana", std::nullopt}, {"Ctrl+F25", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHotkey(c.text), c.hotkey) << c.text;
        if (c.hotkey) {
            EXPECT_EQ(ParseHotkey(HotkeyName(*c.hotkey)), c.hotkey) << c.text;  // named as it reads back
        }
    }
    EXPECT_EQ(HotkeyName({kModWin | kModShift | kModControl, 0x2D}), "Ctrl+Shift+Win+Insert");
    EXPECT_EQ(HotkeyName({kModControl, 0x10}), "");  // a modifier alone is no key
    EXPECT_EQ(HotkeyName({0, 'H'}), "");
}

TEST(PopupRules, ThePopupOpensAtThePointerInsideTheWorkArea) {
    const struct {
        int x, y, left, top;
    } cases[] = {{100, 50, 100, 50}, {1200, 900, 1280 - 300, 1000 - 400}, {-5, 20, 0, 20}, {1500, 10, 980, 10}};
    for (const auto& c : cases) {
        const PopupPlace p = PlacePopup(c.x, c.y, 300, 400, 0, 0, 1280, 1000);
        EXPECT_EQ(p.left, c.left) << c.x;
        EXPECT_EQ(p.top, c.top) << c.y;
    }
    EXPECT_EQ(PlacePopup(10, 10, 500, 500, 1280, 0, 1680, 300).left, 1280);  // larger than the area: top left inside
}

}  // namespace
}  // namespace mainwindow
