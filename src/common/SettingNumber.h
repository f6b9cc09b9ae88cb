// A setting kept as text that holds a whole number (typed in the registry editor, or by an older version).
#pragma once

#include <cstdint>
#include <string>

namespace common {

// Digits only, at most nine, within [low, high]: false otherwise, and the caller keeps its default.
inline bool SettingNumber(const std::string& text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::stoull(text);
    return value >= low && value <= high;
}

}  // namespace common
