// The commands of the main window: the manager switch, deleting, saving results and opening clips.
#include <atomic>
#include <fstream>
#include <thread>
#include <sstream>

#include "clips/ClipCollection.h"
#include "capture/CaptureClip.h"
#include "clipboard/ClipboardAccess.h"
#include "clips/RichTextHolder.h"
#include "clips/Clips.h"
#include "mainwindow/MainWindowFixture.h"

#include <shlobj.h>

namespace mainwindow {
namespace testing_form {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "x"; }

std::vector<std::string> Tags(int count) {
    std::vector<std::string> tags;
    for (int i = 0; i < count; ++i) tags.push_back(clips::ClipTags().Tag(i));
    return tags;
}

// Wine links the user's shell folders (Desktop, Documents, ...) into the Unix home without marking them as
// reparse points: a walk that followed them would read the whole home directory. Nothing a command writes on
// the Windows side goes there.
std::vector<std::string> LinkedShellFolders() {
    std::vector<std::string> linked;
    for (int folder : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO,
                       CSIDL_TEMPLATES, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS}) {
        char path[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) linked.push_back(path);
    }
    char profile[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile)))
        linked.push_back(std::string(profile) + "\\Downloads");
    return linked;
}

// Files under root last written at or after since, leaving out the trees named in skip. The walk is bounded:
// past budget entries, or deeper than any folder of a prefix, it stops and says so through the budget left.
void CollectWrittenSince(const std::string& root, const FILETIME& since, const std::vector<std::string>& skip,
                         std::vector<std::string>& written, long& budget, int depth = 0) {
    for (const auto& s : skip)
        if (lstrcmpiA(root.c_str(), s.c_str()) == 0) return;
    if (depth > 24) return;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((root + "\\*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (--budget < 0) break;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                CollectWrittenSince(root + "\\" + name, since, skip, written, budget, depth + 1);
        } else if (CompareFileTime(&found.ftLastWriteTime, &since) >= 0) {
            written.push_back(root + "\\" + name);
        }
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}

class CommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        GetSystemTimeAsFileTime(&start_);
    }
    // Whatever a command did, it wrote nothing outside TEMP, the history folder and the output folder:
    // nothing on the Windows side (the output folders here are on the Unix side) and nothing beside the program.
    void TearDown() override {
        MainWindowTest::TearDown();
        std::vector<std::string> outside, skip = LinkedShellFolders();
        const std::string history = history::DefaultHistoryFolder().u8string();
        skip.insert(skip.end(), {shell::TempFolder(), history, history.substr(0, history.rfind('\\'))});
        for (std::string& folder : skip)
            while (folder.size() > 2 && folder.back() == '\\') folder.pop_back();
        long budget = 400000;  // a fresh prefix holds about 10,000 entries
        for (std::string root : {std::string("C:"), shell::ProgramFolder()}) {
            while (root.size() > 2 && root.back() == '\\') root.pop_back();
            CollectWrittenSince(root, start_, skip, outside, budget);
        }
        EXPECT_GE(budget, 0) << "the walk of the prefix was cut short";
        EXPECT_TRUE(outside.empty()) << outside.front();
    }
    FILETIME start_{};
};

COLORREF Stripes(int x, int) { return x % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); }

TEST_F(CommandsTest, ManagerSwitchCapturesAtOnceAndStoresItsCaption) {
    ASSERT_TRUE(testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "waiting"); }, [] { return true; }));
    StartOn(false);
    Click(form_->ManagerSwitch());
    EXPECT_EQ(Count(), 1);  // what was on the clipboard
    EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOffCaption);
    EXPECT_EQ(shell::GetSetting(shell::kKeyClipboardSwitch, ""), "On");
    EXPECT_EQ(GetClipboardViewer(), form_->hwnd());

    Click(form_->ManagerSwitch());
    EXPECT_EQ(WindowText(form_->ManagerSwitch()), kManagerOnCaption);
    EXPECT_EQ(shell::GetSetting(shell::kKeyClipboardSwitch, ""), "Off");
    EXPECT_NE(GetClipboardViewer(), form_->hwnd());
    ASSERT_TRUE(testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "unseen"); }, [] { return true; }));
    testsupport::PumpFor(200);
    EXPECT_EQ(Count(), 1);

    // Turned on with an X-side copy waiting: one clip, however often Wine announces it.
    ASSERT_TRUE(testsupport::CopyUtf8WithXclip("from the X side"));
    std::uint64_t unused = 0;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] {
            return clipboard::ReadClipboardUnicodeText(form_->hwnd(), 1 << 20, unused) ==
                   std::string("from the X side");
        },
        testsupport::kPatientMs));
    Click(form_->ManagerSwitch());
    testsupport::PumpFor(1500);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(form_->ClipList().Model().ItemText(1), "from the X side");
}

// Enter or a double-click on an older clip: it goes back with every format it kept, becomes the newest,
// and the program's own write adds no clip.
TEST_F(CommandsTest, AnOlderClipGoesBackWithEveryFormatAndBecomesTheNewest) {
    StartOn();
    const UINT html = RegisterClipboardFormatA("HTML Format"),
               dropEffect = RegisterClipboardFormatA("Preferred DropEffect");
    const std::string rtf = "{\\rtf1\\ansi Rich \\b text\\b0\\par}", htmlBytes =
                                                                         "Version:0.9\r\n<b>Gr\xC3\xBC\xC3\x9F"
                                                                         "e</b>";
    const std::string drop = testsupport::WideDropFiles({L"C:\\a.txt", L"C:\\b 日本.doc"});
    const DWORD move = DROPEFFECT_MOVE;
    ASSERT_TRUE(Copy([&] {
        testsupport::OfferWide(CF_UNICODETEXT, L"Grüße 日本");
        testsupport::OfferText(html, htmlBytes);
    }));
    ASSERT_TRUE(CopyRich(rtf, "Rich text"));
    ASSERT_TRUE(Copy([&] {
        SetClipboardData(CF_HDROP, testsupport::GlobalBytes(drop.data(), drop.size()));
        SetClipboardData(dropEffect, testsupport::GlobalBytes(&move, sizeof(move)));
    }));
    const std::string pngPath = "/tmp/ardentia_putback.png";
    ASSERT_TRUE(testsupport::RunUnixShell("convert -size 5x4 xc:'#102030' " + pngPath +
                                          " && xclip -selection clipboard -t image/png -i " + pngPath));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Count() == 4; }, testsupport::kPatientMs));
    std::string png;
    ASSERT_TRUE(testsupport::ReadWholeFile(testsupport::WindowsPath(pngPath), png));
    ASSERT_TRUE(CopyText("newest"));

    auto& list = form_->ClipList().Model();
    auto bytes = [&](UINT format) { return clipboard::ReadClipboardBytes(form_->hwnd(), format).value_or("<none>"); };
    enum How { kEnter, kDoubleClick, kPopupPlain };
    auto putBack = [&](int position, How how) {
        list.SetListIndex(position);
        HWND surface = form_->ClipList().picList();
        if (how == kEnter) {
            SendMessageA(surface, WM_KEYDOWN, VK_RETURN, 0);
        } else if (how == kPopupPlain) {
            form_->Popup().onChoose(position, true);  // Shift+Enter in the popup
        } else {
            const LPARAM at = MAKELPARAM(30, (position - list.TopIndex()) * form_->ClipList().RowHeight() + 3);
            for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                SendMessageA(surface, m, 0, at);
        }
        testsupport::PumpFor(300);
        // Announced again, as Wine's bridge may: a picture is not compared, so only the others are asked.
        if (clips::TagKind(clips::ClipTags().Tag(4)) != clips::kKindPicture) capture::CaptureClip();
        EXPECT_EQ(Count(), 5) << "no clip for our own write";
        EXPECT_EQ(list.ListIndex(), 4);
        EXPECT_NE(WindowText(form_->InformationLine()).find("Item 5 of 5 - on the clipboard"), std::string::npos)
            << WindowText(form_->InformationLine());
    };
    putBack(0, kEnter);  // the text with its HTML
    EXPECT_EQ(list.ItemText(4), "Grüße 日本");
    EXPECT_EQ(clips::ClipTags().Tag(4), "TXT0");
    EXPECT_EQ(bytes(CF_UNICODETEXT), std::string(reinterpret_cast<const char*>(L"Grüße 日本"), sizeof(L"Grüße 日本")));
    EXPECT_EQ(bytes(html), htmlBytes + std::string(1, '\0'));
    putBack(0, kDoubleClick);  // the rich text
    EXPECT_EQ(clips::ClipTags().Tag(4), "RTF0");
    EXPECT_EQ(bytes(clipboard::RichTextFormat()), rtf + std::string(1, '\0'));
    putBack(0, kEnter);  // the files: still files, still a move
    EXPECT_EQ(clips::ClipTags().Tag(4), "FIL1");
    EXPECT_EQ(bytes(CF_HDROP), drop);
    EXPECT_EQ(bytes(dropEffect), std::string(reinterpret_cast<const char*>(&move), 4));
    putBack(0, kPopupPlain);  // the picture, with its PNG: it has no plain form to give
    EXPECT_EQ(clips::ClipTags().Tag(4), "PIC0");
    EXPECT_EQ(bytes(RegisterClipboardFormatA("PNG")), png);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(list.ItemText(0), "newest");
    DeleteFileA(testsupport::WindowsPath(pngPath).c_str());
}

TEST_F(CommandsTest, DeletingKeepsTagsListAndPreviewInStep) {
    StartOn();
    for (const char* text : {"a", "b", "c", "d"}) ASSERT_TRUE(CopyText(text));
    auto& list = form_->ClipList().Model();

    list.SetListIndex(1);
    gAnswer = IDNO;
    SendMessageA(form_->ClipList().picList(), WM_KEYDOWN, VK_DELETE, 0);  // Delete in the list asks as the button does
    EXPECT_EQ(Count(), 4);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].text, "Delete the clip \"b\"?");
    EXPECT_EQ(gBoxes[0].style, UINT(MB_YESNO));

    gAnswer = IDYES;
    Click(form_->DeleteSelectedButton());  // the middle one: the clip that followed it is current
    EXPECT_EQ(Tags(3), (std::vector<std::string>{"TXT0", "TXT2", "TXT3"}));
    EXPECT_FALSE(clips::Holders().Exists(clips::HolderFamily::kText, 1));
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 2 of 3");

    list.SetListIndex(2);
    Click(form_->DeleteSelectedButton());  // the last: the one before it is current
    EXPECT_EQ(Tags(2), (std::vector<std::string>{"TXT0", "TXT2"}));
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 2 of 2");
    SettlePreview();
    EXPECT_EQ(WindowText(form_->Preview()), "c");

    list.SetListIndex(-1);
    const std::size_t asked = gBoxes.size();
    Click(form_->DeleteSelectedButton());  // nothing current: nothing asked, nothing changes
    EXPECT_EQ(gBoxes.size(), asked);
    EXPECT_EQ(Count(), 2);
    EXPECT_FALSE(capture::CaptureSuppressed());

    list.SetListIndex(1);
    Click(form_->DeleteSelectedButton());
    list.SetListIndex(0);
    Click(form_->DeleteSelectedButton());  // the only one
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_TRUE(IsWindowVisible(form_->EmptyPanel()));
    EXPECT_EQ(WindowText(form_->InformationLine()), "Nothing on Clipboard");
    ASSERT_TRUE(CopyText("still captured"));
    EXPECT_EQ(clips::ClipTags().Tag(0), "TXT4");

    // A picture deleted while the window is hidden: the preview lets go of it first. Shown again, the
    // window shows the current clip, not the one it showed when it hid.
    for (int pictures = 1; pictures <= 2; ++pictures) ASSERT_TRUE(CopyPicture(12, 9 + pictures, Stripes));
    EXPECT_EQ(form_->ShownPicture().Picture(), clips::Holders().Picture(1));
    PostMessageA(form_->Tray().hwnd(), shell::kTrayCallbackMessage, 0, 1028);  // the balloon closes at once
    ShowWindow(form_->hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(form_->InTray());
    form_->DeleteClip();
    EXPECT_EQ(form_->ShownPicture().Picture(), nullptr);
    form_->ClipList().Model().SetListIndex(0);
    SendMessageA(form_->Tray().hwnd(), shell::kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 1 of 2");
    SettlePreview();
    EXPECT_TRUE(IsWindowVisible(form_->Preview()));
    EXPECT_EQ(WindowText(form_->Preview()), "still captured");
}

// While the question is up, another program copies: the clip asked about is the one deleted, not the
// new one the capture made current.
int AnswerYesAfterACopy(HWND, const std::string&, const std::string&, UINT) {
    testsupport::PeerCopy([] { testsupport::OfferText(CF_TEXT, "copied meanwhile"); },
                          [] { return capture::HandledSequence() == GetClipboardSequenceNumber(); });
    return IDYES;
}

TEST_F(CommandsTest, DeletingTakesTheClipAskedAboutThoughACopyLandsDuringTheQuestion) {
    StartOn();
    for (const char* text : {"a", "b"}) ASSERT_TRUE(CopyText(text));
    form_->ClipList().Model().SetListIndex(0);
    SetMessageBoxForTesting(AnswerYesAfterACopy);
    Click(form_->DeleteSelectedButton());
    SetMessageBoxForTesting(RecordBox);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(form_->ClipList().Model().ItemText(0), "b");
    EXPECT_EQ(form_->ClipList().Model().ItemText(1), "copied meanwhile");
}

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
    EXPECT_EQ(clips::ClipTags().Tag(0), "TXT0");
}

// Pinned by Ctrl+P (in the list and in the popup): Delete Selected says so, Delete All leaves the pin and
// says how many stay, new clips take holders the pin does not hold; a history not remembered keeps the
// pin's file alone, once the user agrees.
TEST_F(CommandsTest, PinnedClipsStayWhenDeletingAndAreAllAForgetfulHistoryKeeps) {
    StartOn();
    for (const char* text : {"a", "b", "c"}) ASSERT_TRUE(CopyText(text));
    auto& list = form_->ClipList().Model();
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_MENU] = 0;
    const auto ctrlP = [&](HWND to) {
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(to, WM_KEYDOWN, 'P', 0);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    list.SetListIndex(1);
    ctrlP(form_->ClipList().picList());
    EXPECT_TRUE(list.ItemPinned(1));
    const auto filesStored = [] {
        history::FlushHistoryWrites();
        return history::ListHistoryFolder(history::HistoryFolder()).clips.size();
    };
    EXPECT_EQ(filesStored(), 3u);

    gAnswer = IDYES;
    Click(form_->DeleteSelectedButton());
    Click(form_->DeleteAllButton());
    ASSERT_EQ(Tags(1), std::vector<std::string>{"TXT1"});
    Click(form_->DeleteAllButton());
    ASSERT_EQ(gBoxes.size(), 3u);
    EXPECT_EQ(gBoxes[0].text, "\"b\" is pinned: unpin it (Ctrl+P) to delete it.");
    EXPECT_EQ(gBoxes[1].text, "Delete the 2 unpinned clips? The pinned clip stays.");
    EXPECT_EQ(gBoxes[2].text, "Every clip is pinned: unpin a clip (Ctrl+P) to delete it.");
    EXPECT_EQ(WindowText(form_->InformationLine()), "Text Clip - Item 1 of 1");
    for (const char* text : {"d", "e"}) ASSERT_TRUE(CopyText(text));
    EXPECT_EQ(Tags(3), (std::vector<std::string>{"TXT1", "TXT0", "TXT2"}));  // TXT1 stays the pin's
    EXPECT_EQ(filesStored(), 3u);

    Click(form_->CheckRemember());
    ASSERT_EQ(gBoxes.size(), 4u);
    EXPECT_EQ(gBoxes[3].text, "Delete the 2 unpinned clips already stored on disk? They stay in the list until the "
                              "program ends, as many as its memory budget holds; pinned clips stay stored.");
    EXPECT_EQ(filesStored(), 1u);
    EXPECT_EQ(shell::GetSetting(shell::kKeyRememberHistory, ""), "Off");
    // Unpinned from the popup, the last stored clip loses its file; remembered again, every clip is written.
    form_->OpenPopup();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form_->Popup().IsOpen(); }, testsupport::kPatientMs));
    EXPECT_TRUE(form_->Popup().List().Model().ItemPinned(2));
    SendMessageW(form_->Popup().FilterBox(), WM_KEYDOWN, VK_END, 0);
    ctrlP(form_->Popup().FilterBox());
    EXPECT_FALSE(list.ItemPinned(0));
    EXPECT_FALSE(form_->Popup().List().Model().ItemPinned(2));
    EXPECT_EQ(filesStored(), 0u);
    SendMessageW(form_->Popup().FilterBox(), WM_KEYDOWN, VK_ESCAPE, 0);
    Click(form_->CheckRemember());
    EXPECT_EQ(shell::GetSetting(shell::kKeyRememberHistory, ""), "On");
    EXPECT_EQ(filesStored(), 3u);
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
    // Another program reads the bitmap file: ImageMagick on the Linux side.
    testsupport::RunUnixShell("identify -format '%wx%h' /tmp/ardentia_out/PIC0.bmp > /tmp/ardentia_out/size");
    std::string size;
    testsupport::PumpUntil([&] { return !(size = ReadFile("/tmp/ardentia_out/size")).empty(); },
                           testsupport::kPatientMs);
    EXPECT_EQ(size, "40x30");

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

    // Text the ANSI code page cannot hold is written as UTF-8 with a byte-order mark.
    ASSERT_TRUE(CopyWide(L"Grüße 日本 \U0001F600"));
    press(form_->Preview(), WM_RBUTTONDOWN);
    EXPECT_EQ(gLaunches.back().target, temp + "\\TEMP2.TXT");
    EXPECT_EQ(ReadFile(temp + "\\TEMP2.TXT"), "\xEF\xBB\xBFGrüße 日本 😀\r\n");
    DeleteFileA((temp + "\\TEMP2.TXT").c_str());
    form_->DeleteClip();
    gLaunches.pop_back();

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
