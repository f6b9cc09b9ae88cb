#include "mainwindow/OpenRules.h"

#include <gtest/gtest.h>

#include <set>

namespace mainwindow {
namespace {

TEST(OpenRules, OnlyAddressesWithoutSpacesAreOpenedAsAddresses) {
    const struct {
        std::string text;
        bool address;
        std::string target;
    } cases[] = {
        {"http://example.org", true, "http://example.org"},
        {"<http://example.org/a>", true, "http://example.org/a"},
        {std::string("<http://x.org>\0junk", 19), true, "http://x.org"},  // cut at the NUL first
        {"www.example.org", true, "http://www.example.org"},
        {"www.Example.org/a?b#c", true, "http://www.Example.org/a?b#c"},
        {"www.\\..\\something.exe", false, ""},  // the shell would start it as a file
        {"www.x.org\\a", false, ""},
        {"www.x.org/../../a.exe", false, ""},
        {"www.", false, ""},
        {"www..exe", false, ""},
        {"http://x.org:8080/a", true, "http://x.org:8080/a"},
        {"http://x.org:80a", false, ""},
        {"http://", false, ""},
        {"http://x.org/\"a\"", false, ""},
        {"<http://x.org", false, ""},
        {"<www.x.org>", false, ""},  // only an address with its scheme comes in brackets
        {"http://example.org with space", false, ""},
        {"<http://a b>", false, ""},
        {" www.x", false, ""},
        {"ftp://x", false, ""},
        {"https://example.org/?a=1&b=2", true, "https://example.org/?a=1&b=2"},
        {"<https://example.org>", true, "https://example.org"},
        {"https://example.org\r\n", true, "https://example.org"},  // a copied line brings its end
        {"http://a.org\n", true, "http://a.org"},
        {"http://a.org\r\nhttp://b.org", false, ""},
        {"http://a.org\tx", false, ""},
        {"http://a.org ", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWebAddressToOpen(c.text), c.address) << c.text;
        EXPECT_EQ(WebTarget(c.text), c.target) << c.text;
    }
    EXPECT_EQ(WebTarget("<"), "");
}

TEST(OpenRules, TemporaryFilesAreNamedAndRecognisedStrictly) {
    EXPECT_EQ(TempFilePath("C:\\Temp", 3, ".TXT"), "C:\\Temp\\TEMP3.TXT");
    for (const char* own : {"TEMP0.TXT", "TEMP24.RTF", "TEMP3.BMP"}) EXPECT_TRUE(IsOwnTempFileName(own)) << own;
    for (const char* other : {"TEMPLATE.DOC", "TEMP.TXT", "TEMP3.txt", "TEMP3.DOC", "TEMPX.TXT", "temp3.TXT", "TEMP3.TXT.bak",
                              "MYTEMP3.TXT"})
        EXPECT_FALSE(IsOwnTempFileName(other)) << other;
    EXPECT_EQ(SavedExtension("FIL"), ".txt");
    EXPECT_EQ(SavedExtension("RTF"), ".rtf");
    EXPECT_EQ(TempExtension("PIC"), ".BMP");
    EXPECT_EQ(SavedExtension("XYZ"), "");
    static std::set<std::string> taken;
    taken = {"D:\\r\\TXT0.txt", "D:\\r\\TXT0 (2).txt"};
    auto exists = [](const std::string& p) { return taken.count(p) > 0; };
    EXPECT_EQ(FreeFileName("D:\\r\\", "TXT0", ".txt", exists), "D:\\r\\TXT0 (3).txt");
    EXPECT_EQ(FreeFileName("D:\\r\\", "TXT1", ".txt", exists), "D:\\r\\TXT1.txt");
}

}  // namespace
}  // namespace mainwindow
