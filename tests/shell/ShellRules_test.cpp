// Rules of the shell helpers that need no Win32: title trimming, the tray record's text fields and the
// skin file. The record as a whole, its notices and balloon times are checked where the tray control
// sends and receives them (cSysTray_test); the start-up entry's data where it is written (mStartUp_test).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "shell/ApplicationTitle.h"
#include "shell/Skin.h"
#include "shell/TrayRecord.h"

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

std::string FieldText(const TrayRecord& r, TrayField f) {
    return std::string(reinterpret_cast<const char*>(r.Bytes()) + f.offset, f.length);
}

TEST(TrayRecord, TextFieldsAreCutTerminatedAndSpacePadded) {
    const struct {
        TrayField field;
        void (*fill)(TrayRecord&, const std::string&);
    } fields[] = {
        {kFieldTip, [](TrayRecord& r, const std::string& s) { r.SetTip(s); }},
        {kFieldInfo, [](TrayRecord& r, const std::string& s) { r.SetInfo("", s, 0); }},
        {kFieldInfoTitle, [](TrayRecord& r, const std::string& s) { r.SetInfo(s, "", 0); }},
    };
    for (const auto& f : fields) {
        for (std::uint32_t length : {0u, 5u, f.field.length - 2, f.field.length - 1, f.field.length, f.field.length + 40}) {
            TrayRecord r(1, 0);
            f.fill(r, std::string(length, 'T'));
            const std::string bytes = FieldText(r, f.field);
            const std::uint32_t kept = std::min(length, f.field.length - 1);
            EXPECT_EQ(bytes.substr(0, kept), std::string(kept, 'T')) << f.field.offset << "/" << length;
            EXPECT_EQ(bytes[kept], '\0');
            EXPECT_EQ(bytes.substr(kept + 1), std::string(f.field.length - kept - 1, ' '));
        }
    }
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

TEST(Skin, StepRecoloursOnlyWithTheFileAndKeepsTextBoxesAndLists) {
    std::uint32_t window = 0xFFFFFF, label = 0xFFFFFF, check = 0x00FF00, text = 0xFFFFFF, list = 0x123456;
    const std::vector<SkinnedControl> controls = {{ControlKind::kWindow, &window},
                                                  {ControlKind::kLabel, &label},
                                                  {ControlKind::kCheckBox, &check},
                                                  {ControlKind::kTextBox, &text},
                                                  {ControlKind::kList, &list}};
    SkinFramework skin;
    std::uint32_t rgb = 0;
    EXPECT_FALSE(RunSkinStep(skin, "/no/such/o.cjs", false, 0x1234, controls));
    EXPECT_EQ(window, 0xFFFFFFu);
    EXPECT_EQ(check, 0x00FF00u);
    EXPECT_FALSE(skin.Resolve(kSkinBackground, rgb));

    const std::string path = testing::TempDir() + "skin_test.cjs";
    std::ofstream(path) << "Face=102030\n";
    EXPECT_TRUE(RunSkinStep(skin, path, true, 0x1234, controls));
    std::remove(path.c_str());
    for (std::uint32_t c : {window, label, check}) EXPECT_EQ(c, kSkinBackground);
    EXPECT_EQ(text, 0xFFFFFFu);
    EXPECT_EQ(list, 0x123456u);
    ASSERT_TRUE(skin.Resolve(kSkinBackground, rgb));
    EXPECT_EQ(rgb, 0x302010u);
    EXPECT_FALSE(skin.Resolve(0x80000005, rgb));  // other system colours are not the skin's
    EXPECT_FALSE(skin.TextColour(rgb));

    // A listed file that cannot be read or parsed is an error for the caller to report, and no control
    // has changed colour.
    window = label = check = 0xFFFFFF;
    std::ofstream(path) << "Text=000000\n";  // no Face
    for (const std::string& bad : {std::string("/no/such/o.cjs"), path}) {
        SkinFramework unreadable;
        EXPECT_THROW(RunSkinStep(unreadable, bad, true, 0x1234, controls), SkinError) << bad;
        for (std::uint32_t c : {window, label, check}) EXPECT_EQ(c, 0xFFFFFFu) << bad;
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace shell
