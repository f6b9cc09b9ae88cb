// The start-with-Windows entry in Wine's real machine-wide Run key.
#include "shell/RunKeyEntry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/WindowText.h"
#include "shell/RegistryValues.h"
#include "shell/StartupEntry.h"

namespace shell {
namespace {

struct RunValue {
    bool present = false;
    DWORD type = 0;
    std::string data;
    bool terminated = false;
};

// Read as UTF-16; `terminated` says the stored bytes end with the NUL.
RunValue ReadRunValue(const std::string& name, HKEY hive = HKEY_LOCAL_MACHINE, REGSAM view = 0) {
    RunValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(hive, kRunKeyPath, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return value;
    wchar_t data[1024] = {};
    DWORD bytes = sizeof(data) - 2;
    value.present = RegQueryValueExW(key, common::Widen(name).c_str(), nullptr, &value.type,
                                     reinterpret_cast<BYTE*>(data), &bytes) == ERROR_SUCCESS;
    value.data = common::Narrow(std::wstring(data));
    value.terminated = bytes == (value.data.size() + 1) * sizeof(wchar_t) && data[bytes / 2 - 1] == 0;
    RegCloseKey(key);
    return value;
}

DWORD RunValueCount() {
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return count;
}

class StartUpTest : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "ardentia start up";
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "\\none").c_str(), nullptr);
        HANDLE f = CreateFileA((folder_ + "\\My App.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        CloseHandle(f);
    }
    void TearDown() override {
        SetRegOpenKeyForTesting(nullptr);
        RemoveStartupEntryFor(folder_);
        DeleteFileA((folder_ + "\\My App.exe").c_str());
        RemoveDirectoryA((folder_ + "\\none").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string folder_;
};

// Quoted, because the path has spaces; an older unquoted value of ours is recognised and replaced.
TEST_F(StartUpTest, TheEntryIsTheQuotedPathAndReplacesAnOlderUnquotedOne) {
    const DWORD before = RunValueCount();
    ASSERT_EQ(SaveRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, "My App.exe", folder_ + "\\My App.exe", REG_SZ), 0);
    EXPECT_TRUE(StartupEntryPresent(folder_));
    AddStartupEntryFor(folder_);
    const RunValue v = ReadRunValue("My App.exe");
    EXPECT_EQ(v.type, DWORD(REG_SZ));
    EXPECT_EQ(v.data, "\"" + folder_ + "\\My App.exe\"");
    EXPECT_TRUE(v.terminated);
    EXPECT_EQ(RunValueCount(), before + 1);
    RemoveStartupEntryFor(folder_);
    RemoveStartupEntryFor(folder_);  // removing a missing value is harmless
    EXPECT_EQ(RunValueCount(), before);
}

LONG WINAPI MachineKeyDenied(HKEY hive, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
    if (hive == HKEY_LOCAL_MACHINE) return ERROR_ACCESS_DENIED;
    return RegOpenKeyExA(hive, path, options, access, key);
}

TEST_F(StartUpTest, AStandardUserGetsTheEntryInTheirOwnRunKey) {
    SetRegOpenKeyForTesting(MachineKeyDenied);
    AddStartupEntryFor(folder_);
    EXPECT_FALSE(ReadRunValue("My App.exe").present);
    const RunValue user = ReadRunValue("My App.exe", HKEY_CURRENT_USER);
    EXPECT_TRUE(user.present);
    EXPECT_EQ(user.data, "\"" + folder_ + "\\My App.exe\"");
    EXPECT_TRUE(StartupEntryPresent(folder_));
    RemoveStartupEntryFor(folder_);
    EXPECT_FALSE(StartupEntryPresent(folder_));
    SetRegOpenKeyForTesting(nullptr);
}

}  // namespace
}  // namespace shell
