// What sealing the history asks of the system's cryptography, for code that must not include it: the clip
// file's layout is portable and tested natively, the key and the cipher behind this interface are Win32's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common {

class Sealer {
public:
    virtual ~Sealer() = default;
    // The sealed form of plain, bound to associated (which is not stored); none when sealing fails.
    virtual std::optional<std::string> Seal(const std::string& plain, const std::string& associated) const = 0;
    // The plain bytes, or none unless sealed is exactly what Seal made with this key and associated.
    virtual std::optional<std::string> Open(const std::string& sealed, const std::string& associated) const = 0;
    // A keyed digest of the parts one after another, as if joined: names derived from it say nothing to
    // someone without the key. In parts, megabytes need not be copied into one block first.
    virtual std::optional<std::array<std::uint8_t, 32>> Digest(const std::vector<std::string_view>& parts) const = 0;
    std::optional<std::array<std::uint8_t, 32>> Digest(const std::string& bytes) const {
        return Digest(std::vector<std::string_view>{bytes});
    }
    // How many bytes sealing adds, so that a reader can bound what it reads before opening it.
    virtual std::size_t Overhead() const = 0;
};

}  // namespace common
