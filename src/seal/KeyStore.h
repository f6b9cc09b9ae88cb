// The history keys this user holds on this machine: each kept in the registry (a binary value named by the
// key's id under HKEY_CURRENT_USER\Software\Kestrovan\Ardentia\History Keys) only as the user's logon protects
// it (DPAPI): the registry, a backup of it or another account shows nothing that opens a clip.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "seal/Cipher.h"

namespace seal {

// The key stored under id; none when there is none, or it is not this user's to open.
std::optional<Key> StoredKey(const std::string& id);
bool StoreKey(const std::string& id, const Key& key);
// Every key stored for this user here, by id (those this user cannot open left out).
std::vector<std::pair<std::string, Key>> StoredKeys();

}  // namespace seal
