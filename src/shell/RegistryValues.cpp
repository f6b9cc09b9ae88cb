#include "shell/RegistryValues.h"

#include <cerrno>
#include <cstdlib>

#include "common/WindowText.h"
#include "shell/StartupEntry.h"

namespace shell {

namespace {

RegOpenKeyFn gRegOpenKey = RegOpenKeyExA;

bool ParseDword(const std::string& text, DWORD& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number < -2147483648LL || number > 4294967295LL) return false;
    value = DWORD(number);
    return true;
}

}  // namespace

LONG WriteRegistryValue(HKEY key, const std::string& name, DWORD type, const std::string& data) {
    if (type == REG_SZ) {
        // UTF-16 with its closing NUL, as readers of the Run key expect.
        const std::wstring wide = common::Widen(data);
        return RegSetValueExW(key, common::Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                              DWORD((wide.size() + 1) * sizeof(wchar_t)));
    }
    if (type == REG_DWORD) {
        DWORD number = 0;
        if (!ParseDword(data, number)) return ERROR_INVALID_DATA;
        return RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    }
    return 0;
}

void SetRegOpenKeyForTesting(RegOpenKeyFn fn) { gRegOpenKey = fn ? fn : RegOpenKeyExA; }

LONG SaveRegistryValue(HKEY hive, const std::string& keyPath, const std::string& name, const std::string& data,
                       DWORD type, REGSAM view) {
    HKEY key = nullptr;
    const LONG opened = gRegOpenKey(hive, keyPath.c_str(), 0, kRunKeyAccess | view, &key);
    if (opened != ERROR_SUCCESS) return opened;
    const LONG written = WriteRegistryValue(key, name, type, data);
    RegCloseKey(key);
    return written;
}

LONG DeleteRegistryValue(HKEY hive, const std::string& keyPath, const std::string& name, REGSAM view) {
    HKEY key = nullptr;
    const LONG opened = gRegOpenKey(hive, keyPath.c_str(), 0, kRunKeyAccess | view, &key);
    if (opened != ERROR_SUCCESS) return opened;
    const LONG deleted = RegDeleteValueW(key, common::Widen(name).c_str());
    RegCloseKey(key);
    return deleted;
}

}  // namespace shell
