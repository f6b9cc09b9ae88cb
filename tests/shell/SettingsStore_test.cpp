// The settings store against Wine's real registry.
#include "shell/SettingsStore.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace shell {
namespace {

const char kSection[] = "Software\\Kestrovan\\Ardentia";

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kSection); }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kSection); }

    static void PutRaw(const char* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

TEST_F(SettingsStoreTest, AbsentKeyGivesTheDefaultAndWritesNothing) {
    EXPECT_EQ(GetSetting(kKeyClipboardSwitch, kOff), "Off");
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSection, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, SavedTextReadsBackExactly) {
    ASSERT_TRUE(SaveSetting(kKeyOutputFolder, "C:\\a folder\\ "));
    ASSERT_TRUE(SaveSetting(kKeyClipboardSwitch, "on"));
    EXPECT_EQ(GetSetting(kKeyOutputFolder, "x"), "C:\\a folder\\ ");
    EXPECT_EQ(GetSetting(kKeyClipboardSwitch, kOff), "on");
    EXPECT_FALSE(IsOn(GetSetting(kKeyClipboardSwitch, kOff)));
    ASSERT_TRUE(SaveSetting(kKeyClipboardSwitch, kOn));
    EXPECT_TRUE(IsOn(GetSetting(kKeyClipboardSwitch, kOff)));
    ASSERT_TRUE(SaveSetting(kKeyOutputFolder, ""));
    EXPECT_EQ(GetSetting(kKeyOutputFolder, "x"), "");
}

TEST_F(SettingsStoreTest, OddStoredValuesReadAsTheDefault) {
    const DWORD number = 1;
    PutRaw(kKeyMinimized, REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(GetSetting(kKeyMinimized, kOff), "Off");

    const std::string tooLong(kMaxSettingLength + 1, 'x');
    PutRaw(kKeyOutputFolder, REG_SZ, tooLong.c_str(), DWORD(tooLong.size() + 1));
    EXPECT_EQ(GetSetting(kKeyOutputFolder, "default"), "default");

    const std::string longest(kMaxSettingLength, 'y');
    PutRaw(kKeyOutputFolder, REG_SZ, longest.c_str(), DWORD(longest.size() + 1));
    EXPECT_EQ(GetSetting(kKeyOutputFolder, "default"), longest);

    PutRaw(kKeyWindowsStartup, REG_SZ, "On", 2);  // written without its NUL by another program
    EXPECT_EQ(GetSetting(kKeyWindowsStartup, kOff), "On");
}

}  // namespace
}  // namespace shell
