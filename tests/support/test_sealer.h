// A stand-in for the system's cipher in the portable tests and fuzzing of the sealed layout: like AES-GCM it
// hides the bytes and refuses any change, another key or other associated data, but it is no cipher (a keyed
// stream and checksum). The program itself only ever seals through CNG.
#pragma once

#include <cstdint>
#include <string>

#include "common/Sealer.h"
#include "history/ClipFile.h"

namespace testsupport {

class TestSealer : public common::Sealer {
public:
    explicit TestSealer(std::uint64_t key) : key_(key) {}
    std::optional<std::string> Seal(const std::string& plain, const std::string& associated) const override {
        std::string nonce(12, '\0');
        for (int i = 0; i < 8; ++i) nonce[std::size_t(i)] = char(++counter_ >> (8 * i));
        std::string body = plain;
        Stream(nonce, body);
        return nonce + body + Tag(nonce, body, associated);
    }
    std::optional<std::string> Open(const std::string& sealed, const std::string& associated) const override {
        if (sealed.size() < Overhead()) return std::nullopt;
        const std::string nonce = sealed.substr(0, 12), body = sealed.substr(12, sealed.size() - Overhead());
        if (sealed.compare(sealed.size() - 16, 16, Tag(nonce, body, associated)) != 0) return std::nullopt;
        std::string plain = body;
        Stream(nonce, plain);
        return plain;
    }
    using common::Sealer::Digest;
    std::optional<std::array<std::uint8_t, 32>> Digest(const std::vector<std::string_view>& parts) const override {
        std::string bytes;
        for (std::string_view part : parts) bytes += part;
        std::array<std::uint8_t, 32> digest{};
        for (std::size_t i = 0; i < digest.size(); ++i)
            digest[i] = std::uint8_t(Mix(std::to_string(i), bytes) >> 8);
        return digest;
    }
    std::size_t Overhead() const override { return 28; }

private:
    std::uint64_t Mix(const std::string& a, const std::string& b) const {
        const std::string keyed = std::to_string(key_) + '|' + a + '|' + std::to_string(b.size()) + '|';
        return history::Checksum(b.data(), b.size(), history::Checksum(keyed.data(), keyed.size()));
    }
    void Stream(const std::string& nonce, std::string& bytes) const {
        std::uint64_t x = Mix("stream", nonce);
        for (char& c : bytes) {
            x = x * 6364136223846793005ull + 1442695040888963407ull;
            c = char(c ^ char(x >> 56));
        }
    }
    std::string Tag(const std::string& nonce, const std::string& body, const std::string& associated) const {
        std::string tag;
        for (const std::string& seed : {std::string("tag 1"), std::string("tag 2")}) {
            const std::uint64_t part = Mix(seed + nonce + std::to_string(associated.size()) + associated, body);
            for (int i = 0; i < 8; ++i) tag += char(part >> (8 * i));
        }
        return tag;
    }
    std::uint64_t key_;
    mutable std::uint64_t counter_ = 0;
};

}  // namespace testsupport
