// A key wrapped by a passphrase, for a history folder shared between machines: PBKDF2-SHA256 with a random
// salt makes a wrapping key of the passphrase, and AES-256-GCM seals the folder's key with it. Another
// machine that is told the passphrase opens the wrapped key; a wrong passphrase opens nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "seal/Cipher.h"

namespace seal {

const std::uint32_t kPassphraseRounds = 600000;
// A planted wrapped key cannot make a machine derive for minutes.
const std::uint32_t kMostPassphraseRounds = 10000000;
const std::size_t kShortestPassphrase = 8;  // characters (UTF-8 bytes)

// salt (16) | rounds (4, little-endian) | the key sealed with the derived key; none when the system fails.
std::optional<std::string> WrapKey(const Key& key, const std::string& passphrase,
                                   std::uint32_t rounds = kPassphraseRounds);
// The key, or none when the passphrase is not the one it was wrapped with or the bytes are not a wrapped key.
std::optional<Key> UnwrapKey(const std::string& wrapped, const std::string& passphrase);

}  // namespace seal
