// A key kept on disk only as the user's Windows logon protects it (DPAPI, user scope): another account or
// another machine cannot read the stored form back.
#pragma once

#include <optional>
#include <string>

#include "seal/Cipher.h"

namespace seal {

std::optional<std::string> ProtectForUser(const Key& key);
// The key, or none for a blob this user cannot open or that does not hold a key.
std::optional<Key> UnprotectForUser(const std::string& blob);

}  // namespace seal
