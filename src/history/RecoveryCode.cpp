#include "history/RecoveryCode.h"

#include <cctype>
#include <cstring>

#include "history/ClipFile.h"

namespace history {
namespace {

const char kDigits[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
const std::size_t kKeyCharacters = 52, kCheckCharacters = 4;

// Five bits at a time, most significant first; the last character carries the key's last bit and zeros.
std::string Base32(const std::uint8_t* bytes, std::size_t count, std::size_t characters) {
    std::string out;
    for (std::size_t c = 0; c < characters; ++c) {
        unsigned value = 0;
        for (std::size_t bit = c * 5; bit < c * 5 + 5; ++bit) {
            const bool set = bit / 8 < count && (bytes[bit / 8] >> (7 - bit % 8)) & 1;
            value = value << 1 | (set ? 1u : 0u);
        }
        out += kDigits[value];
    }
    return out;
}

std::string Check(const KeyBytes& key) {
    const std::uint64_t sum = Checksum(reinterpret_cast<const char*>(key.data()), key.size());
    std::uint8_t bytes[3] = {std::uint8_t(sum), std::uint8_t(sum >> 8), std::uint8_t(sum >> 16)};
    return Base32(bytes, 3, kCheckCharacters);
}

int DigitOf(char c) {
    c = char(std::toupper(static_cast<unsigned char>(c)));
    if (c == 'O') c = '0';
    if (c == 'I' || c == 'L') c = '1';
    const char* at = std::strchr(kDigits, c);
    return c && at ? int(at - kDigits) : -1;
}

}  // namespace

std::string RecoveryCode(const KeyBytes& key) {
    const std::string plain = Base32(key.data(), key.size(), kKeyCharacters) + Check(key);
    std::string grouped;
    for (std::size_t i = 0; i < plain.size(); ++i) grouped += (i && i % 4 == 0 ? "-" : "") + plain.substr(i, 1);
    return grouped;
}

std::optional<KeyBytes> KeyOfRecoveryCode(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == '-' || c == '\t') continue;
        if (DigitOf(c) < 0 || digits.size() == kKeyCharacters + kCheckCharacters) return std::nullopt;
        digits += kDigits[DigitOf(c)];
    }
    if (digits.size() != kKeyCharacters + kCheckCharacters) return std::nullopt;
    KeyBytes key{};
    for (std::size_t bit = 0; bit < key.size() * 8; ++bit)
        if ((DigitOf(digits[bit / 5]) >> (4 - bit % 5)) & 1) key[bit / 8] |= std::uint8_t(0x80 >> (bit % 8));
    // The unused bits of the last key character are zero, and the check agrees.
    if (Base32(key.data(), key.size(), kKeyCharacters) + Check(key) != digits) return std::nullopt;
    return key;
}

}  // namespace history
