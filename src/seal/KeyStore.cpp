#include "seal/KeyStore.h"

#include <windows.h>

#include <iterator>

#include "common/WindowText.h"
#include "seal/UserProtection.h"

namespace seal {
namespace {

const wchar_t kKeysPath[] = L"Software\\Kestrovan\\Ardentia\\History Keys";
const DWORD kMostBlobBytes = 4096;  // a protected 32-byte key is a few hundred

struct KeyCloser {
    HKEY key;
    ~KeyCloser() { RegCloseKey(key); }
};

}  // namespace

std::optional<Key> StoredKey(const std::string& id) {
    HKEY keys = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeysPath, 0, KEY_QUERY_VALUE, &keys) != ERROR_SUCCESS) return std::nullopt;
    KeyCloser closer{keys};
    const std::wstring name = common::Widen(id);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(keys, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_BINARY ||
        bytes == 0 || bytes > kMostBlobBytes)
        return std::nullopt;
    std::string blob(bytes, '\0');
    if (RegQueryValueExW(keys, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&blob[0]), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_BINARY)
        return std::nullopt;
    blob.resize(bytes);
    return UnprotectForUser(blob);
}

bool StoreKey(const std::string& id, const Key& key) {
    const auto blob = ProtectForUser(key);
    HKEY keys = nullptr;
    if (!blob || RegCreateKeyExW(HKEY_CURRENT_USER, kKeysPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &keys,
                                 nullptr) != ERROR_SUCCESS)
        return false;
    KeyCloser closer{keys};
    return RegSetValueExW(keys, common::Widen(id).c_str(), 0, REG_BINARY,
                          reinterpret_cast<const BYTE*>(blob->data()), DWORD(blob->size())) == ERROR_SUCCESS;
}

std::vector<std::pair<std::string, Key>> StoredKeys() {
    std::vector<std::pair<std::string, Key>> stored;
    HKEY keys = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeysPath, 0, KEY_QUERY_VALUE, &keys) != ERROR_SUCCESS) return stored;
    std::vector<std::string> ids;
    {
        KeyCloser closer{keys};
        wchar_t name[256];
        for (DWORD index = 0; index < 1000; ++index) {
            DWORD length = DWORD(std::size(name));
            const LONG found = RegEnumValueW(keys, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (found == ERROR_NO_MORE_ITEMS) break;
            if (found == ERROR_SUCCESS) ids.push_back(common::Narrow(std::wstring(name, length)));
        }
    }
    for (const std::string& id : ids)
        if (const auto key = StoredKey(id)) stored.emplace_back(id, *key);
    return stored;
}

}  // namespace seal
