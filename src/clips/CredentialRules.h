// Copies that look like a credential although their program did not mark them: a private key block, a token
// of a well-known shape, or one short word of many kinds of characters. Such a copy is kept in memory only,
// for a while. Portable; the README lists the rules.
#pragma once

#include <cstdint>
#include <string>

namespace clips {

// The list's icon for such a clip: a lock.
const std::int16_t kLockIcon = 5;

// The rule a text matches ("private key", "token", "password-like word"), or "" for none.
std::string CredentialRule(const std::string& text);

}  // namespace clips
