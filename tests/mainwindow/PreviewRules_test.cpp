#include "mainwindow/PreviewRules.h"

#include <gtest/gtest.h>

#include "common/Utf8.h"
#include "mainwindow/ErrorReportText.h"

namespace mainwindow {
namespace {

TEST(PreviewRules, InfoLineNamesKindPositionAndCount) {
    const struct {
        const char* kind;
        const char* text;
        const char* prefix;
    } cases[] = {
        {"TXT", "www.example.org", "Web Address - Item"},
        {"TXT", "http://a b c", "Web Address - Item"},
        {"TXT", " http://x", "Text Clip - Item"},  // a leading space pushes the address out of the head
        {"TXT", "<http://x.org>", "Web Address - Item"},
        {"TXT", "https://x.org", "Web Address - Item"},
        {"RTF", "<https://x.org>", "Web Address - Item"},
        {"TXT", "<http://x.org> more", "Text Clip - Item"},  // the bracketed form must have no space
        {"TXT", " www.x", "Text Clip - Item"},
        {"TXT", "HTTP://X", "Text Clip - Item"},
        {"RTF", "www.x", "Web Address - Item"},
        {"RTF", "formatted", "Rich Text Clip - Item"},
        {"FIL", "www.x", "Copy Files - Item"},
        {"PIC", "", "Picture Clip - Item"},
        {"", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(InfoPrefix(c.kind, c.text), c.prefix) << c.kind << " " << c.text;
    EXPECT_EQ(InfoLine("Text Clip - Item", 0, 1), "Text Clip - Item 1 of 1");
    EXPECT_EQ(InfoLine("Copy Files - Item", 24, 25), "Copy Files - Item 25 of 25");
}

TEST(PreviewRules, PreviewTextIsBoundedAndBrokenIntoLines) {
    EXPECT_EQ(PreviewText("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    // A paragraph breaks only after a space, past kPreviewLineLength; a line without any, where it must.
    std::string paragraph;
    while (paragraph.size() < 3000) paragraph += "Lorem ipsum dolor sit amet, consectetur adipiscing, commodo consequat. ";
    const std::string broken = PreviewText(paragraph);
    std::size_t lines = 0;
    for (std::size_t at = broken.find("\r\n"); at != std::string::npos; at = broken.find("\r\n", at + 2), ++lines)
        EXPECT_EQ(broken[at - 1], ' ') << at;
    EXPECT_GE(lines, 3000 / (kPreviewLineLength + 80));
    const std::string longLine(kPreviewLongestLine + 5, 'x');
    EXPECT_EQ(PreviewText(longLine), std::string(kPreviewLongestLine, 'x') + "\r\n" + "xxxxx");
    const std::string huge(10 * kPreviewLimit, 'y');
    const std::string shown = PreviewText(huge);
    EXPECT_LT(shown.size(), kPreviewLimit + kPreviewLimit / kPreviewLongestLine * 2 + 100);
    EXPECT_NE(shown.find(std::to_string(huge.size()) + " characters in all"), std::string::npos);
    EXPECT_EQ(PreviewText(std::string(kPreviewLimit, 'z')).find("in all"), std::string::npos);  // exactly fits
    // Breaks and the cut never split a character: 3-byte characters across line and limit boundaries.
    std::string cjk;
    while (cjk.size() < 2 * kPreviewLimit) cjk += "日";
    const std::string cut = PreviewText("x" + cjk);
    EXPECT_EQ(common::Utf16ToUtf8(common::Utf8ToUtf16(cut)), cut);
    EXPECT_EQ(cut.find("\r\n"), 1 + 3 * (kPreviewLongestLine - 1));
    EXPECT_NE(cut.find(std::to_string(1 + cjk.size() / 3) + " characters in all"), std::string::npos);
}

TEST(PreviewRules, PictureFitsTheFrame) {
    const struct {
        float pw, ph;
        ImageFit fit;
    } cases[] = {
        {100, 100, {2647.5f, 1772.5f, 100, 100, false}},             // small: centred, offset, natural size
        {4995, 1000, {0, 1172.5f, 4995, 1000, true}},                // as wide as the frame: stretched to it
        {9990, 3345, {0, 836.25f, 4995, 1672.5f, true}},             // wide
        {2000, 6690, {1997.5f, 0, 1000, 3345, true}},                // tall
        {5000, 4000, {406.875f, 0, 4181.25f, 3345, true}},          // wide but too tall once fitted
    };
    for (const auto& c : cases) {
        const ImageFit f = FitPicture(4995, 3345, c.pw, c.ph);
        EXPECT_FLOAT_EQ(f.left, c.fit.left) << c.pw << "x" << c.ph;
        EXPECT_FLOAT_EQ(f.top, c.fit.top) << c.pw << "x" << c.ph;
        EXPECT_FLOAT_EQ(f.width, c.fit.width) << c.pw << "x" << c.ph;
        EXPECT_FLOAT_EQ(f.height, c.fit.height) << c.pw << "x" << c.ph;
        EXPECT_EQ(f.stretch, c.fit.stretch);
    }
}

}  // namespace
}  // namespace mainwindow
