// Seals with one history key through CNG: AES-256-GCM for what is stored, HMAC-SHA256 for names. A few key
// objects serve every file: a system key object takes one message at a time, and the threads that list,
// write and search each take one that is free (or wait their turn for one).
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "common/Sealer.h"
#include "seal/Cipher.h"

namespace seal {

class KeySealer : public common::Sealer {
public:
    explicit KeySealer(const Key& key) : key_(key) {
        for (Lane& lane : lanes_) lane.sealing = std::make_unique<SealingKey>(key);
    }
    std::optional<std::string> Seal(const std::string& plain, const std::string& associated) const override {
        return WithFreeKey([&](const SealingKey& sealing) { return sealing.Seal(plain, associated); });
    }
    std::optional<std::string> Open(const std::string& sealed, const std::string& associated) const override {
        return WithFreeKey([&](const SealingKey& sealing) { return sealing.Open(sealed, associated); });
    }
    using common::Sealer::Digest;
    std::optional<std::array<std::uint8_t, 32>> Digest(const std::vector<std::string_view>& parts) const override {
        return Hmac(key_, parts);
    }
    std::size_t Overhead() const override { return kSealOverhead; }
    bool Usable() const {
        for (const Lane& lane : lanes_)
            if (!lane.sealing->Usable()) return false;
        return true;
    }
    const Key& KeyBytes() const { return key_; }  // to wrap it for another machine

private:
    struct Lane {
        std::mutex turn;
        std::unique_ptr<SealingKey> sealing;
    };
    std::optional<std::string> WithFreeKey(
        const std::function<std::optional<std::string>(const SealingKey&)>& work) const {
        for (Lane& lane : lanes_) {
            std::unique_lock<std::mutex> turn(lane.turn, std::try_to_lock);
            if (turn.owns_lock()) return work(*lane.sealing);
        }
        Lane& lane = lanes_[std::hash<std::thread::id>()(std::this_thread::get_id()) % lanes_.size()];
        std::lock_guard<std::mutex> turn(lane.turn);
        return work(*lane.sealing);
    }
    Key key_;
    mutable std::array<Lane, 4> lanes_;
};

}  // namespace seal
