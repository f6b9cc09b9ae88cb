// The system's cryptography for the sealed history, through CNG: random bytes, AES-256-GCM with a fresh
// random nonce per message, HMAC-SHA256 and PBKDF2-SHA256. Nothing here is our own cryptography: every
// transform is the system's; this file only lays out what goes in and comes out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace seal {

constexpr std::size_t kKeyBytes = 32;    // AES-256
constexpr std::size_t kNonceBytes = 12;  // GCM's 96-bit nonce
constexpr std::size_t kTagBytes = 16;    // GCM's full tag
constexpr std::size_t kSealOverhead = kNonceBytes + kTagBytes;

using Key = std::array<std::uint8_t, kKeyBytes>;
using Digest = std::array<std::uint8_t, 32>;

// n bytes from the system's generator; none when it fails.
std::optional<std::string> RandomBytes(std::size_t n);
std::optional<Key> NewKey();

// nonce || ciphertext || tag. The associated data is authenticated, not stored: the reader supplies it again.
std::optional<std::string> Seal(const Key& key, const std::string& plain, const std::string& associated = "");
// The plain text, or none when anything (a byte, the key, the associated data) differs from what was sealed.
std::optional<std::string> Open(const Key& key, const std::string& sealed, const std::string& associated = "");

// One AES-256-GCM key object made once for many messages: making it costs more than sealing a small clip.
// Not for two threads at once (the system's object keeps each message's nonce while it works).
class SealingKey {
public:
    explicit SealingKey(const Key& key);
    ~SealingKey();
    SealingKey(const SealingKey&) = delete;
    SealingKey& operator=(const SealingKey&) = delete;
    bool Usable() const;
    std::optional<std::string> Seal(const std::string& plain, const std::string& associated) const;
    std::optional<std::string> Open(const std::string& sealed, const std::string& associated) const;

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

std::optional<Digest> Hmac(const Key& key, const std::string& data);
// The same of the parts one after another, as if joined.
std::optional<Digest> Hmac(const Key& key, const std::vector<std::string_view>& parts);
std::optional<Key> DeriveKey(const std::string& passphrase, const std::string& salt, std::uint64_t rounds);

}  // namespace seal
