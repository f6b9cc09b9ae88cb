// The settings store against Wine's real registry.
#include "shell/SettingsStore.h"

#include <gtest/gtest.h>

#include "support/win32_wait.h"
#include <windows.h>

#include <string>

namespace shell {
namespace {

const char kSection[] = "Software\\Kestrovan\\Ardentia";

void PutRaw(const char* name, DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(SettingsStore, ReadsBackWhatWasSavedAndOddValuesAsTheDefault) {
    testsupport::ForgetSettings();
    EXPECT_EQ(GetSetting(kKeyClipboardSwitch, kOff), "Off");
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSection, 0, KEY_READ, &key), ERROR_SUCCESS);  // reading wrote nothing
    for (const char* text : {"C:\\a folder\\ ", "on", ""}) {
        ASSERT_TRUE(SaveSetting(kKeyOutputFolder, text));
        EXPECT_EQ(GetSetting(kKeyOutputFolder, "x"), text);
    }

    const DWORD number = 1;
    const std::string tooLong(kMaxSettingLength + 1, 'x'), longest(kMaxSettingLength, 'y');
    const struct {
        DWORD type;
        std::string bytes;
        std::string read;
    } stored[] = {
        {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4), "default"},
        {REG_SZ, tooLong + '\0', "default"},
        {REG_SZ, longest + '\0', longest},
        {REG_SZ, "On", "On"},  // written without its NUL by another program
    };
    for (const auto& s : stored) {
        PutRaw(kKeyMinimized, s.type, s.bytes.data(), DWORD(s.bytes.size()));
        EXPECT_EQ(GetSetting(kKeyMinimized, "default"), s.read) << s.bytes.size();
    }
    testsupport::ForgetSettings();
}

}  // namespace
}  // namespace shell
