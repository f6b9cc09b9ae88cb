// File, folder and title helpers on Wine's real file system and shell.
#include "shell/PathHelpers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace shell {
namespace {

class PathHelpersTest : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "ardentia paths";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        DeleteFileA((folder_ + "\\a.txt").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string Touch(const std::string& name) {
        const std::string path = folder_ + "\\" + name;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(f, INVALID_HANDLE_VALUE) << path;
        CloseHandle(f);
        return path;
    }
    std::string folder_;
};

TEST_F(PathHelpersTest, ExistenceTestsTellFilesFromFolders) {
    const std::string file = Touch("a.txt");
    const struct {
        std::string path;
        bool file, folder;
    } cases[] = {
        {file, true, false},
        {folder_, false, true},
        {folder_ + "\\", false, true},
        {folder_ + "\\missing.txt", false, false},
        {"", false, false},
        {"\\\\?\\bad<>|path", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(FolderExists(c.path), c.folder) << c.path;
    }
}

TEST(PathHelpers, DefaultOutputFolderIsAnExistingFolderWithBackslash) {
    const std::string folder = DefaultOutputFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_NE(folder.substr(folder.size() - 2), "\\\\");
    EXPECT_TRUE(FolderExists(folder)) << folder;
}

TEST(PathHelpers, ProgramFolderHoldsThisProgramAndTitleIsTheProductName) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string folder = ProgramFolder();
    EXPECT_EQ(std::string(self).rfind(folder + "\\", 0), 0u) << self;
    SetApplicationTitle();
    EXPECT_EQ(ApplicationTitle(), "Ardentia");
}

}  // namespace
}  // namespace shell
