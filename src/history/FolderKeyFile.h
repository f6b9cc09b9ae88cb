// The key file a sealed history folder holds ("history.key"): which key seals the folder's clip files (its
// id, a keyed digest that says nothing of the key), whether the first version's plain files have been sealed,
// and, for a folder shared between machines, the key wrapped by a passphrase. The whole file is vouched for
// by a digest under the key itself: a file someone changed or planted is not believed. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/Sealer.h"

namespace history {

const char kFolderKeyFileName[] = "history.key";

using KeyId = std::array<std::uint8_t, 16>;

struct FolderKeyFile {
    KeyId keyId{};
    bool plainFilesSealed = false;  // from now on a plain (first version) clip file is refused
    std::string wrappedKey;         // empty unless a passphrase opens the folder on other machines
};

// The id under which a key is known: the same on every machine that holds the key.
std::optional<KeyId> KeyIdOf(const common::Sealer& keyed);
std::string KeyIdText(const KeyId& id);  // 32 hex digits

// The file's bytes, vouched for by keyed (the key the file names); empty when the digest cannot be made.
std::string WriteFolderKeyFile(const FolderKeyFile& file, const common::Sealer& keyed);
// The fields, read before the key is at hand (its id says which key to look for); none when the bytes are
// not a key file of ours.
std::optional<FolderKeyFile> ReadFolderKeyFile(const std::string& bytes);
// Whether bytes were written by WriteFolderKeyFile with this key: its id and its digest match.
bool FolderKeyFileVouched(const std::string& bytes, const common::Sealer& keyed);

}  // namespace history
