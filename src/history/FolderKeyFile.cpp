#include "history/FolderKeyFile.h"

#include <algorithm>

#include "history/ClipFileFields.h"

namespace history {
namespace {

const char kMagic[8] = {'A', 'R', 'D', 'K', 'E', 'Y', '\x1A', '\0'};
const std::uint64_t kVersion = 1;
const std::uint64_t kPlainFilesSealed = 1;
const std::size_t kDigestBytes = 32;
const std::size_t kMostWrappedBytes = 1024;

std::string Body(const FolderKeyFile& file) {
    std::string out(kMagic, sizeof(kMagic));
    PutNumber(out, kVersion, 4);
    PutNumber(out, file.plainFilesSealed ? kPlainFilesSealed : 0, 4);
    out.append(file.keyId.begin(), file.keyId.end());
    PutNumber(out, file.wrappedKey.size(), 2);
    out += file.wrappedKey;
    return out;
}

std::optional<std::string> DigestText(const std::string& bytes, const common::Sealer& keyed) {
    const auto digest = keyed.Digest(bytes);
    if (!digest) return std::nullopt;
    return std::string(digest->begin(), digest->end());
}

}  // namespace

std::optional<KeyId> KeyIdOf(const common::Sealer& keyed) {
    const auto digest = keyed.Digest("Ardentia history key id");
    if (!digest) return std::nullopt;
    KeyId id;
    std::copy_n(digest->begin(), id.size(), id.begin());
    return id;
}

std::string KeyIdText(const KeyId& id) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : id) text += {digits[byte >> 4], digits[byte & 15]};
    return text;
}

std::string WriteFolderKeyFile(const FolderKeyFile& file, const common::Sealer& keyed) {
    if (file.wrappedKey.size() > kMostWrappedBytes) return "";
    std::string out = Body(file);
    const auto digest = DigestText(out, keyed);
    return digest ? out + *digest : "";
}

std::optional<FolderKeyFile> ReadFolderKeyFile(const std::string& bytes) {
    if (bytes.compare(0, sizeof(kMagic), kMagic, sizeof(kMagic)) != 0) return std::nullopt;
    FieldReader in(bytes, bytes.size());
    std::string magic, id;
    std::uint64_t version = 0, flags = 0, wrappedBytes = 0;
    FolderKeyFile file;
    if (!in.Bytes(magic, sizeof(kMagic)) || !in.Number(version, 4) || version != kVersion || !in.Number(flags, 4) ||
        !in.Bytes(id, file.keyId.size()) || !in.Number(wrappedBytes, 2) || wrappedBytes > kMostWrappedBytes ||
        !in.Bytes(file.wrappedKey, wrappedBytes) || bytes.size() - in.At() != kDigestBytes)
        return std::nullopt;
    std::copy(id.begin(), id.end(), file.keyId.begin());
    file.plainFilesSealed = (flags & kPlainFilesSealed) != 0;
    return file;
}

bool FolderKeyFileVouched(const std::string& bytes, const common::Sealer& keyed) {
    const auto file = ReadFolderKeyFile(bytes);
    const auto id = KeyIdOf(keyed);
    if (!file || !id || file->keyId != *id) return false;
    const std::size_t body = bytes.size() - kDigestBytes;
    const auto digest = DigestText(bytes.substr(0, body), keyed);
    return digest && bytes.compare(body, kDigestBytes, *digest) == 0;
}

}  // namespace history
