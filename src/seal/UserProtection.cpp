#include "seal/UserProtection.h"

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>

namespace seal {
namespace {

// Ties the blob to this program: another program of the user's that asks without it gets nothing.
const char kEntropy[] = "Ardentia history key";

DATA_BLOB Blob(const void* data, std::size_t size) {
    return {DWORD(size), static_cast<BYTE*>(const_cast<void*>(data))};
}

}  // namespace

std::optional<std::string> ProtectForUser(const Key& key) {
    DATA_BLOB in = Blob(key.data(), key.size()), entropy = Blob(kEntropy, sizeof(kEntropy) - 1), out = {};
    if (!CryptProtectData(&in, L"Ardentia", &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::nullopt;
    std::string blob(reinterpret_cast<const char*>(out.pbData), out.cbData);
    LocalFree(out.pbData);
    return blob;
}

std::optional<Key> UnprotectForUser(const std::string& blob) {
    if (blob.empty() || blob.size() > 4096) return std::nullopt;
    DATA_BLOB in = Blob(blob.data(), blob.size()), entropy = Blob(kEntropy, sizeof(kEntropy) - 1), out = {};
    if (!CryptUnprotectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::nullopt;
    std::optional<Key> key;
    if (out.cbData == kKeyBytes) {
        key.emplace();
        std::copy(out.pbData, out.pbData + kKeyBytes, key->begin());
    }
    SecureZeroMemory(out.pbData, out.cbData);
    LocalFree(out.pbData);
    return key;
}

}  // namespace seal
