// Seals with one history key through CNG: AES-256-GCM for what is stored, HMAC-SHA256 for names.
#pragma once

#include "common/Sealer.h"
#include "seal/Cipher.h"

namespace seal {

class KeySealer : public common::Sealer {
public:
    explicit KeySealer(const Key& key) : key_(key) {}
    std::optional<std::string> Seal(const std::string& plain, const std::string& associated) const override {
        return seal::Seal(key_, plain, associated);
    }
    std::optional<std::string> Open(const std::string& sealed, const std::string& associated) const override {
        return seal::Open(key_, sealed, associated);
    }
    std::optional<std::array<std::uint8_t, 32>> Digest(const std::string& bytes) const override {
        return Hmac(key_, bytes);
    }
    std::size_t Overhead() const override { return kSealOverhead; }

private:
    Key key_;
};

}  // namespace seal
