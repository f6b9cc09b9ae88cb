#include "seal/Passphrase.h"

#include <algorithm>

namespace seal {
namespace {

const std::size_t kSaltBytes = 16;
const char kWrapping[] = "Ardentia history key wrapped by a passphrase";

}  // namespace

std::optional<std::string> WrapKey(const Key& key, const std::string& passphrase, std::uint32_t rounds) {
    const auto salt = RandomBytes(kSaltBytes);
    if (!salt) return std::nullopt;
    const auto wrapping = DeriveKey(passphrase, *salt, rounds);
    if (!wrapping) return std::nullopt;
    std::string out = *salt;
    for (int i = 0; i < 4; ++i) out += char((rounds >> (8 * i)) & 0xFF);
    const auto sealed = Seal(*wrapping, std::string(key.begin(), key.end()), kWrapping);
    if (!sealed) return std::nullopt;
    return out + *sealed;
}

std::optional<Key> UnwrapKey(const std::string& wrapped, const std::string& passphrase) {
    if (wrapped.size() != kSaltBytes + 4 + kKeyBytes + kSealOverhead) return std::nullopt;
    std::uint32_t rounds = 0;
    for (int i = 0; i < 4; ++i) rounds |= std::uint32_t(static_cast<unsigned char>(wrapped[kSaltBytes + i])) << (8 * i);
    if (rounds == 0 || rounds > kMostPassphraseRounds) return std::nullopt;
    const auto wrapping = DeriveKey(passphrase, wrapped.substr(0, kSaltBytes), rounds);
    if (!wrapping) return std::nullopt;
    const auto plain = Open(*wrapping, wrapped.substr(kSaltBytes + 4), kWrapping);
    if (!plain || plain->size() != kKeyBytes) return std::nullopt;
    Key key;
    std::copy(plain->begin(), plain->end(), key.begin());
    return key;
}

}  // namespace seal
