#include "shell/SettingsStore.h"

#include <windows.h>

#include <vector>

#include "common/WindowText.h"

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

// Values are UTF-16 in the registry and UTF-8 here, so a folder with any character in its name is kept.
std::string GetSetting(const std::string& key, const std::string& defaultValue) {
    HKEY section = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, KEY_QUERY_VALUE, &section) != ERROR_SUCCESS)
        return defaultValue;
    KeyCloser closer{section};
    const std::wstring name = common::Widen(key);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(section, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ ||
        bytes > 2 * (kMaxSettingLength + 1))
        return defaultValue;
    // One spare character: a value written without its NUL still reads as a terminated text.
    std::vector<wchar_t> data(bytes / 2 + 2, L'\0');
    if (RegQueryValueExW(section, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return defaultValue;
    return common::Narrow(std::wstring(data.data()));
}

bool SettingExists(const std::string& key) {
    HKEY section = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, KEY_QUERY_VALUE, &section) != ERROR_SUCCESS)
        return false;
    KeyCloser closer{section};
    return RegQueryValueExW(section, common::Widen(key).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool SaveSetting(const std::string& key, const std::string& value) {
    HKEY section = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &section,
                        nullptr) != ERROR_SUCCESS)
        return false;
    KeyCloser closer{section};
    const std::wstring wide = common::Widen(value);
    return RegSetValueExW(section, common::Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          DWORD((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace shell
