// Seals with one history key through CNG: AES-256-GCM for what is stored, HMAC-SHA256 for names. One key
// object serves every file; the threads that list, write and search take turns with it.
#pragma once

#include <mutex>

#include "common/Sealer.h"
#include "seal/Cipher.h"

namespace seal {

class KeySealer : public common::Sealer {
public:
    explicit KeySealer(const Key& key) : key_(key), sealing_(key) {}
    std::optional<std::string> Seal(const std::string& plain, const std::string& associated) const override {
        std::lock_guard<std::mutex> turn(turn_);
        return sealing_.Seal(plain, associated);
    }
    std::optional<std::string> Open(const std::string& sealed, const std::string& associated) const override {
        std::lock_guard<std::mutex> turn(turn_);
        return sealing_.Open(sealed, associated);
    }
    using common::Sealer::Digest;
    std::optional<std::array<std::uint8_t, 32>> Digest(const std::vector<std::string_view>& parts) const override {
        return Hmac(key_, parts);
    }
    std::size_t Overhead() const override { return kSealOverhead; }
    bool Usable() const { return sealing_.Usable(); }
    const Key& KeyBytes() const { return key_; }  // to wrap it for another machine

private:
    Key key_;
    SealingKey sealing_;
    mutable std::mutex turn_;
};

}  // namespace seal
