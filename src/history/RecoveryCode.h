// A history key written out for a person to keep: 56 characters of a base-32 alphabet without look-alikes
// (52 for the key, 4 that catch a mistyped character), in groups of four. Typed back, case, spaces and
// dashes do not matter, and O, I and L read as 0, 1 and 1. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace history {

using KeyBytes = std::array<std::uint8_t, 32>;

std::string RecoveryCode(const KeyBytes& key);
// The key, or none when the text is not a whole recovery code (a character wrong, missing or too many).
std::optional<KeyBytes> KeyOfRecoveryCode(const std::string& text);

}  // namespace history
