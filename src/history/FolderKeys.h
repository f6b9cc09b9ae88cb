// Which key seals a history folder, found or made when the folder is opened. A folder without a key file
// gets a new random key (kept DPAPI-protected for this user) and the key file naming it; a folder with one
// is opened with the key this user holds under its id. Nothing else opens it: without the key, its clips
// are neither listed nor written.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "seal/KeySealer.h"

namespace history {

struct FolderKey {
    std::shared_ptr<const seal::KeySealer> sealer;  // none when the folder cannot be opened
    bool plainFilesSealed = false;  // false: the first version's plain files are still to be sealed
    std::string problem;            // for the information line when there is no sealer
    bool asksPassphrase = false;    // the key is not held here, and the folder's passphrase opens it
    bool asksRecoveryCode = false;  // the key is not held here, and only its recovery code opens the folder
};

FolderKey KeyOfFolder(const std::filesystem::path& folder);
// A folder whose key this user does not hold, opened with its passphrase; its key is kept for this user from
// then on. A wrong passphrase opens nothing and says so in problem.
FolderKey OpenWithPassphrase(const std::filesystem::path& folder, const std::string& passphrase);
// The same with the key's recovery code (shown where the key is held).
FolderKey OpenWithRecoveryCode(const std::filesystem::path& folder, const std::string& code);
// Wraps the folder's key with a passphrase in its key file (the key stays the same: the clips are not sealed
// again), so that other machines can open the folder with it. "" when done, else what went wrong.
std::string SetPassphrase(const std::filesystem::path& folder, const seal::KeySealer& sealer,
                          const std::string& passphrase);
// Notes in the key file that the folder's plain files are sealed: from now on a plain file is refused.
bool NotePlainFilesSealed(const std::filesystem::path& folder, const seal::KeySealer& sealer);

// The other history keys this user holds here (of other folders, or of a key that lost to another machine's
// for this folder), to seal their clips found in this folder again with its key.
std::vector<std::shared_ptr<const common::Sealer>> OtherKeysHeld(const seal::KeySealer& folderKey);

}  // namespace history
