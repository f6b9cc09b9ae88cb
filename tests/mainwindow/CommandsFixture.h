// The main-window tests of commands: a fixture that checks, after each test, that a command wrote nothing
// outside TEMP, the history folder and the output folder.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <shlobj.h>

#include "mainwindow/MainWindowFixture.h"

namespace mainwindow {
namespace testing_form {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void Touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "x"; }

// Wine links the user's shell folders (Desktop, Documents, ...) into the Unix home without marking them as
// reparse points: a walk that followed them would read the whole home directory. Nothing a command writes on
// the Windows side goes there.
inline std::vector<std::string> LinkedShellFolders() {
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
inline void CollectWrittenSince(const std::string& root, const FILETIME& since, const std::vector<std::string>& skip,
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
    // The tags of the first count clips, as Save Results names their files.
    std::vector<std::string> Tags(int count) {
        std::vector<std::string> tags;
        for (int i = 0; i < count; ++i) tags.push_back(clips::TagText(form_->Clips().Tags().Tag(i)));
        return tags;
    }
    FILETIME start_{};
};

inline COLORREF Stripes(int x, int) { return x % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); }

}  // namespace testing_form
}  // namespace mainwindow
