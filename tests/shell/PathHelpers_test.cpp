// File, folder and title helpers on Wine's real file system and shell.
#include "shell/PathHelpers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace shell {
namespace {

TEST(PathHelpers, FilesFoldersAndTheProgramsOwnPlaces) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ardentia paths", file = folder + "\\a.txt";
    CreateDirectoryA(folder.c_str(), nullptr);
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const struct {
        std::string path;
        bool file, folder;
    } cases[] = {
        {file, true, false}, {folder, false, true}, {folder + "\\", false, true}, {folder + "\\missing.txt", false, false},
        {"", false, false},  {"\\\\?\\bad<>|path", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(FolderExists(c.path), c.folder) << c.path;
    }
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());

    const std::string output = DefaultOutputFolder();  // an existing folder, with one backslash at the end
    ASSERT_GT(output.size(), 2u);
    EXPECT_EQ(output.back(), '\\');
    EXPECT_NE(output[output.size() - 2], '\\');
    EXPECT_TRUE(FolderExists(output)) << output;

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_EQ(std::string(self).rfind(ProgramFolder() + "\\", 0), 0u) << self;
    SetApplicationTitle();
    EXPECT_EQ(ApplicationTitle(), "Ardentia");
}

}  // namespace
}  // namespace shell
