// Which key seals a history folder, found or made when the folder is opened. A folder without a key file
// gets a new random key (kept DPAPI-protected for this user) and the key file naming it; a folder with one
// is opened with the key this user holds under its id. Nothing else opens it: without the key, its clips
// are neither listed nor written.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "seal/KeySealer.h"

namespace history {

struct FolderKey {
    std::shared_ptr<const seal::KeySealer> sealer;  // none when the folder cannot be opened
    bool plainFilesSealed = false;  // false: the first version's plain files are still to be sealed
    std::string problem;            // for the information line when there is no sealer
};

FolderKey KeyOfFolder(const std::filesystem::path& folder);
// Notes in the key file that the folder's plain files are sealed: from now on a plain file is refused.
bool NotePlainFilesSealed(const std::filesystem::path& folder, const seal::KeySealer& sealer);

}  // namespace history
