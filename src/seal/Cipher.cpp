#include "seal/Cipher.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <memory>

namespace seal {
namespace {

bool Ok(NTSTATUS status) { return status >= 0; }

// An algorithm provider, closed with its scope.
class Provider {
public:
    Provider(LPCWSTR algorithm, ULONG flags) {
        if (!Ok(BCryptOpenAlgorithmProvider(&handle_, algorithm, nullptr, flags))) handle_ = nullptr;
    }
    ~Provider() {
        if (handle_) BCryptCloseAlgorithmProvider(handle_, 0);
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    BCRYPT_ALG_HANDLE get() const { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

// An AES-256-GCM key object, destroyed with its scope.
class GcmKey {
public:
    explicit GcmKey(const Key& key) : provider_(BCRYPT_AES_ALGORITHM, 0) {
        if (!provider_.get() ||
            !Ok(BCryptSetProperty(provider_.get(), BCRYPT_CHAINING_MODE,
                                  reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_GCM)),
                                  sizeof(BCRYPT_CHAIN_MODE_GCM), 0)) ||
            !Ok(BCryptGenerateSymmetricKey(provider_.get(), &handle_, nullptr, 0, const_cast<PUCHAR>(key.data()),
                                           ULONG(key.size()), 0)))
            handle_ = nullptr;
    }
    ~GcmKey() {
        if (handle_) BCryptDestroyKey(handle_);
    }
    GcmKey(const GcmKey&) = delete;
    GcmKey& operator=(const GcmKey&) = delete;
    BCRYPT_KEY_HANDLE get() const { return handle_; }

private:
    Provider provider_;
    BCRYPT_KEY_HANDLE handle_ = nullptr;
};

PUCHAR Bytes(const std::string& s) { return reinterpret_cast<PUCHAR>(const_cast<char*>(s.data())); }

BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO ModeInfo(PUCHAR nonce, const std::string& associated, PUCHAR tag) {
    BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
    BCRYPT_INIT_AUTH_MODE_INFO(info);
    info.pbNonce = nonce;
    info.cbNonce = ULONG(kNonceBytes);
    info.pbAuthData = associated.empty() ? nullptr : Bytes(associated);
    info.cbAuthData = ULONG(associated.size());
    info.pbTag = tag;
    info.cbTag = ULONG(kTagBytes);
    return info;
}

}  // namespace

std::optional<std::string> RandomBytes(std::size_t n) {
    std::string bytes(n, '\0');
    if (n && !Ok(BCryptGenRandom(nullptr, Bytes(bytes), ULONG(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return std::nullopt;
    return bytes;
}

std::optional<Key> NewKey() {
    const auto bytes = RandomBytes(kKeyBytes);
    if (!bytes) return std::nullopt;
    Key key;
    std::copy(bytes->begin(), bytes->end(), key.begin());
    return key;
}

struct SealingKey::Handles {
    explicit Handles(const Key& key) : gcm(key) {}
    GcmKey gcm;
};

SealingKey::SealingKey(const Key& key) : handles_(std::make_unique<Handles>(key)) {}
SealingKey::~SealingKey() = default;
bool SealingKey::Usable() const { return handles_->gcm.get() != nullptr; }

std::optional<std::string> SealingKey::Seal(const std::string& plain, const std::string& associated) const {
    if (plain.size() > 0x7FFFFFFF - kSealOverhead) return std::nullopt;
    const auto nonce = RandomBytes(kNonceBytes);
    if (!Usable() || !nonce) return std::nullopt;
    std::string sealed = *nonce + std::string(plain.size() + kTagBytes, '\0');
    PUCHAR out = Bytes(sealed);
    auto info = ModeInfo(out, associated, out + kNonceBytes + plain.size());
    ULONG written = 0;
    // CNG reads no input through a null pointer even for an empty message, but wants a buffer to point at.
    if (!Ok(BCryptEncrypt(handles_->gcm.get(), plain.empty() ? out : Bytes(plain), ULONG(plain.size()), &info,
                          nullptr, 0, out + kNonceBytes, ULONG(plain.size()), &written, 0)) ||
        written != plain.size())
        return std::nullopt;
    return sealed;
}

std::optional<std::string> SealingKey::Open(const std::string& sealed, const std::string& associated) const {
    if (sealed.size() < kSealOverhead || sealed.size() > 0x7FFFFFFF || !Usable()) return std::nullopt;
    PUCHAR in = Bytes(sealed);  // only read: CNG's pointers are not const
    const std::size_t length = sealed.size() - kSealOverhead;
    std::string plain(length, '\0');
    auto info = ModeInfo(in, associated, in + kNonceBytes + length);
    ULONG written = 0;
    PUCHAR out = length ? Bytes(plain) : in;
    if (!Ok(BCryptDecrypt(handles_->gcm.get(), in + kNonceBytes, ULONG(length), &info, nullptr, 0, out,
                          ULONG(length), &written, 0)) ||
        written != length)
        return std::nullopt;
    return plain;
}

std::optional<std::string> Seal(const Key& key, const std::string& plain, const std::string& associated) {
    return SealingKey(key).Seal(plain, associated);
}

std::optional<std::string> Open(const Key& key, const std::string& sealed, const std::string& associated) {
    return SealingKey(key).Open(sealed, associated);
}

std::optional<Digest> Hmac(const Key& key, const std::string& data) {
    return Hmac(key, std::vector<std::string_view>{data});
}

std::optional<Digest> Hmac(const Key& key, const std::vector<std::string_view>& parts) {
    Provider provider(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!provider.get() ||
        !Ok(BCryptCreateHash(provider.get(), &hash, nullptr, 0, const_cast<PUCHAR>(key.data()), ULONG(key.size()), 0)))
        return std::nullopt;
    Digest digest;
    bool ok = true;
    for (std::string_view part : parts)  // CNG only reads the input, through a pointer that is not const
        ok = ok && part.size() <= 0xFFFFFFFF &&
             Ok(BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(part.data())), ULONG(part.size()), 0));
    ok = ok && Ok(BCryptFinishHash(hash, digest.data(), ULONG(digest.size()), 0));
    BCryptDestroyHash(hash);
    if (!ok) return std::nullopt;
    return digest;
}

std::optional<Key> DeriveKey(const std::string& passphrase, const std::string& salt, std::uint64_t rounds) {
    Provider provider(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    Key key;
    if (!provider.get() || rounds == 0 ||
        !Ok(BCryptDeriveKeyPBKDF2(provider.get(), Bytes(passphrase), ULONG(passphrase.size()), Bytes(salt),
                                  ULONG(salt.size()), rounds, key.data(), ULONG(key.size()), 0)))
        return std::nullopt;
    return key;
}

}  // namespace seal
