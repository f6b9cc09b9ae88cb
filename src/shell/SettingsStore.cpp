#include "shell/SettingsStore.h"

#include <windows.h>

#include <vector>

namespace shell {

namespace {

std::string SectionPath() {
    return std::string("Software\\") + kSettingsApplication + "\\" + kSettingsSection;
}

struct KeyCloser {
    HKEY key;
    ~KeyCloser() { RegCloseKey(key); }
};

}  // namespace

std::string GetSetting(const std::string& key, const std::string& defaultValue) {
    HKEY section = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, KEY_QUERY_VALUE, &section) != ERROR_SUCCESS)
        return defaultValue;
    KeyCloser closer{section};
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExA(section, key.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ || bytes > kMaxSettingLength + 1)
        return defaultValue;
    // One spare byte: a value written without its NUL still reads as a terminated text.
    std::vector<char> data(bytes + 1, '\0');
    if (RegQueryValueExA(section, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return defaultValue;
    return std::string(data.data());
}

bool SaveSetting(const std::string& key, const std::string& value) {
    HKEY section = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &section,
                        nullptr) != ERROR_SUCCESS)
        return false;
    KeyCloser closer{section};
    return RegSetValueExA(section, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace shell
