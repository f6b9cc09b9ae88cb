// The system's cryptography as the history uses it, under Wine's real CNG and DPAPI: known answers from an
// independent implementation, and every change to a sealed message refused.
#include "seal/Cipher.h"

#include <gtest/gtest.h>

#include "seal/UserProtection.h"

namespace seal {
namespace {

std::string Hex(const std::uint8_t* bytes, std::size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < n; ++i) hex += {digits[bytes[i] >> 4], digits[bytes[i] & 15]};
    return hex;
}

Key Counting() {
    Key key;
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = std::uint8_t(i);
    return key;
}

TEST(Cipher, KnownAnswersForHmacAndPbkdf2) {
    const auto mac = Hmac(Counting(), "Ardentia");
    EXPECT_EQ(Hmac(Counting(), std::vector<std::string_view>{"Arde", "", "ntia"}), mac);
    ASSERT_TRUE(mac);
    EXPECT_EQ(Hex(mac->data(), mac->size()), "8d047f627e22b4a192aab4fcf8a115c18828cc8ef3bc689473a8b7520b414381");
    const struct {
        const char *passphrase, *salt;
        std::uint64_t rounds;
        const char* key;
    } cases[] = {
        {"passwd", "salt", 1, "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"},
        {"correct horse", "0123456789abcdef", 1000, "70183c0f60ee9e0441f64efab334e17f97a17f2073f7dd5acba3d3f12af09383"},
    };
    for (const auto& c : cases) {
        const auto key = DeriveKey(c.passphrase, c.salt, c.rounds);
        ASSERT_TRUE(key) << c.passphrase;
        EXPECT_EQ(Hex(key->data(), key->size()), c.key) << c.passphrase;
    }
}

TEST(Cipher, ASealedMessageOpensOnlyAsItWasSealed) {
    const auto key = NewKey(), other = NewKey();
    ASSERT_TRUE(key && other);
    EXPECT_NE(*key, *other);
    for (const std::string& plain : {std::string(), std::string("Grüße 日本 \0 secret", 22), std::string(100000, 'x')}) {
        const auto sealed = Seal(*key, plain, "header");
        ASSERT_TRUE(sealed);
        ASSERT_EQ(sealed->size(), plain.size() + kSealOverhead);
        EXPECT_EQ(Open(*key, *sealed, "header"), plain);
        EXPECT_NE(Seal(*key, plain, "header"), sealed);  // a fresh nonce each time
        if (plain.size() > 8) {
            EXPECT_EQ(sealed->find(plain.substr(0, 8)), std::string::npos);
        }
        EXPECT_FALSE(Open(*other, *sealed, "header"));
        EXPECT_FALSE(Open(*key, *sealed, "headeR"));
        EXPECT_FALSE(Open(*key, sealed->substr(0, sealed->size() - 1), "header"));
        for (std::size_t at : {std::size_t(0), kNonceBytes, sealed->size() - 1}) {  // nonce, text, tag
            std::string changed = *sealed;
            changed[at] ^= 1;
            EXPECT_FALSE(Open(*key, changed, "header")) << at;
        }
    }
    EXPECT_FALSE(Open(*key, std::string(kSealOverhead - 1, '\0')));
}

TEST(UserProtection, OnlyThisUserOpensTheKeyAndAChangedBlobIsRefused) {
    const Key key = Counting();
    const auto blob = ProtectForUser(key);
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->find(std::string(reinterpret_cast<const char*>(key.data()), 8)), std::string::npos);
    EXPECT_EQ(UnprotectForUser(*blob), key);
    std::string changed = *blob;
    changed[changed.size() - 5] ^= 1;
    EXPECT_FALSE(UnprotectForUser(changed));
    EXPECT_FALSE(UnprotectForUser(""));
    EXPECT_FALSE(UnprotectForUser(std::string(5000, 'x')));
}

}  // namespace
}  // namespace seal
