// The main window's commands that reach files: Delete All and the temporary files, Save Results, the folder
// picker, and opening clips.
#include "mainwindow/CommandsFixture.h"

#include "clips/Clips.h"

namespace mainwindow {
namespace testing_form {
namespace {

TEST_F(CommandsTest, DeleteAllRestartsTagsAndRemovesOnlyOurTemporaryFiles) {
    StartOn();
    Click(form_->DeleteAllButton());
    EXPECT_TRUE(gBoxes.empty());  // nothing to delete, nothing asked

    const std::string temp = shell::TempFolder() + "\\";
    for (const char* name : {"TEMP3.TXT", "TEMP12.BMP", "TEMPLATE.DOC", "TEMP.TXT", "TEMP4.TXT.keep"})
        Touch(temp + name);
    ASSERT_TRUE(CopyText("one"));
    ASSERT_TRUE(Copy([] { testsupport::OfferFiles({"C:\\x.txt"}); }));
    Click(form_->DeleteAllButton());
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].text, "Delete all 2 clips?");
    EXPECT_EQ(Count(), 0);
    EXPECT_TRUE(IsWindowVisible(form_->EmptyPanel()));
    EXPECT_EQ(WindowText(form_->InformationLine()), "Nothing on Clipboard");
    EXPECT_FALSE(shell::FileExists(temp + "TEMP3.TXT"));
    EXPECT_FALSE(shell::FileExists(temp + "TEMP12.BMP"));
    for (const char* name : {"TEMPLATE.DOC", "TEMP.TXT", "TEMP4.TXT.keep"}) {
        EXPECT_TRUE(shell::FileExists(temp + name)) << name;
        DeleteFileA((temp + name).c_str());
    }
    ASSERT_TRUE(CopyText("again"));
    EXPECT_EQ(clips::TagText(form_->Clips().Tags().Tag(0)), "TXT0");
}

TEST_F(CommandsTest, SavingWritesOneReadableFilePerClip) {
    StartOn();
    const std::string folder = OutputFolder();
    EXPECT_EQ(Save(folder), "Nothing to save: the list is empty.");
    for (const std::string& bad : {folder + "missing\\", folder.substr(0, folder.size() - 1) + "\\..\\ardentia_out\\x"})
        EXPECT_EQ(Save(bad), "Folder does not exist. Please select another folder.") << bad;

    ASSERT_TRUE(CopyText("plain"));
    const std::string markup = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Rich \\b text\\b0\\par}";
    ASSERT_TRUE(CopyRich(markup, "Rich text"));
    ASSERT_TRUE(CopyPicture(40, 30, Stripes));
    EXPECT_EQ(Save(folder), "3 files written to " + folder);
    EXPECT_EQ(ReadFile("/tmp/ardentia_out/TXT0.txt"), "plain\r\n");  // ANSI holds it: written as ever
    EXPECT_EQ(ReadFile("/tmp/ardentia_out/RTF0.rtf"), markup);  // as it was copied
    const std::string bmp = ReadFile("/tmp/ardentia_out/PIC0.bmp");  // a bitmap file: its header, then the info
    ASSERT_GT(bmp.size(), 26u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(bmp.data() + 14)->biWidth, 40);

    // After Delete All the tags start again: the next save finds free names, and a folder typed without
    // its backslash is saved into.
    form_->DeleteAll();
    ASSERT_TRUE(CopyText("after delete all"));
    ASSERT_TRUE(CopyWide(L"Grüße 日本 ✓ €"));
    EXPECT_EQ(Save(folder.substr(0, folder.size() - 1)), "2 files written to " + folder);
    EXPECT_EQ(ReadFile("/tmp/ardentia_out/TXT0.txt"), "plain\r\n");
    EXPECT_EQ(ReadFile("/tmp/ardentia_out/TXT0 (2).txt"), "after delete all\r\n");
    EXPECT_EQ(ReadFile("/tmp/ardentia_out/TXT1.txt"), "\xEF\xBB\xBFGrüße 日本 ✓ €\r\n");  // UTF-8 with its BOM

    // A folder where a file should go: that clip fails, the user is told once, with the reason.
    CreateDirectoryA("Z:\\tmp\\ardentia_out\\TXT0 (3).txt", nullptr);
    const std::string told = Save(folder);
    EXPECT_EQ(told.rfind("1 file written to " + folder + "\n\n1 clip could not be saved: ", 0), 0u) << told;
    EXPECT_NE(told.find("TXT0 (3).txt"), std::string::npos) << told;
    testsupport::RunUnixShell("rm -rf /tmp/ardentia_out");
}

TEST_F(CommandsTest, CancellingTheFolderPickerKeepsTheOutputFolder) {
    StartOn(false);
    SetWindowTextA(form_->OutputFolderBox(), "C:\\kept\\");
    DialogUser user(IDCANCEL);
    Click(form_->BrowseFolderButton());
    EXPECT_TRUE(Showed(user.Texts(), L"Please select folder:"));
    EXPECT_EQ(WindowText(form_->OutputFolderBox()), "C:\\kept\\");
    EXPECT_EQ(shell::GetSetting(shell::kKeyOutputFolder, ""), "C:\\kept\\");
}

TEST_F(CommandsTest, OpeningLaunchesAddressesAndTemporaryFiles) {
    StartOn();
    const std::string temp = shell::TempFolder();
    auto press = [&](HWND target, UINT message) {
        SendMessageA(target, message, 0, MAKELPARAM(5, 5));
        SendMessageA(target, message + 1, 0, MAKELPARAM(5, 5));
    };

    ASSERT_TRUE(CopyText("<http://example.org/a>"));
    press(form_->Preview(), WM_LBUTTONDOWN);
    ASSERT_EQ(gLaunches.size(), 1u);
    EXPECT_FALSE(gLaunches[0].openWith);
    EXPECT_EQ(gLaunches[0].target, "http://example.org/a");

    ASSERT_TRUE(CopyText("http://example.org with a space"));
    press(form_->Preview(), WM_RBUTTONDOWN);
    const std::string file = temp + "\\TEMP1.TXT";
    ASSERT_EQ(gLaunches.size(), 2u);
    EXPECT_TRUE(gLaunches[1].openWith);
    EXPECT_EQ(gLaunches[1].target, file);
    EXPECT_EQ(ReadFile(file), "http://example.org with a space\r\n");

    form_->ClipList().Model().SetListIndex(1);
    form_->DeleteClip();
    ASSERT_TRUE(CopyText("another clip at position 1"));
    press(form_->Preview(), WM_LBUTTONDOWN);
    EXPECT_EQ(ReadFile(file), "another clip at position 1\r\n");  // the same position overwrites

    ASSERT_TRUE(CopyPicture(8, 6, Stripes));
    press(form_->ShownPicture().hwnd(), WM_RBUTTONDOWN);
    ASSERT_EQ(gLaunches.size(), 4u);
    EXPECT_TRUE(gLaunches[3].openWith);
    EXPECT_EQ(gLaunches[3].target, temp + "\\TEMP2.BMP");
    EXPECT_EQ(ReadFile(temp + "\\TEMP2.BMP").substr(0, 2), "BM");

    // A real double-click on the picture opens it once.
    RECT image;
    GetWindowRect(form_->ShownPicture().hwnd(), &image);
    SetForegroundWindow(form_->hwnd());
    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dx = (image.left + 3) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        clicks[i].mi.dy = (image.top + 3) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        clicks[i].mi.dwFlags =
            MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
    }
    SendInput(4, clicks, sizeof(INPUT));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return gLaunches.size() > 4; }, testsupport::kPatientMs));
    testsupport::PumpFor(500);
    EXPECT_EQ(gLaunches.size(), 5u);
    gLaunches.pop_back();

    form_->ClipList().Model().SetListIndex(-1);
    press(form_->Preview(), WM_LBUTTONDOWN);  // nothing current: nothing opens
    EXPECT_EQ(gLaunches.size(), 4u);
    EXPECT_TRUE(gBoxes.empty() || gBoxes.back().title != "Application Error");
    EXPECT_FALSE(Hourglass());
    for (const char* name : {"\\TEMP1.TXT", "\\TEMP2.BMP"}) DeleteFileA((temp + name).c_str());
}

}  // namespace
}  // namespace testing_form
}  // namespace mainwindow
