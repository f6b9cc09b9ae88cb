#include "history/FolderKeys.h"

#include <windows.h>

#include "history/DiskFiles.h"
#include "history/FolderKeyFile.h"
#include "seal/KeyStore.h"

namespace history {
namespace {

const std::uint64_t kMostKeyFileBytes = 4096;

// Puts a new key file in place unless one is there already (another instance, another machine through
// the sync service): the first one in the folder stays the folder's key.
bool PlaceNewKeyFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::path made = file;
    made += L".new-" + std::to_wstring(GetCurrentProcessId());
    if (!WriteFileWhole(made, bytes)) return false;
    const bool placed = MoveFileExW(made.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    std::string ignored;
    if (!placed) DeleteOnce(made, ignored);
    return placed;
}

FolderKey Refused(const std::string& problem) {
    FolderKey refused;
    refused.problem = problem + ": nothing is listed from it or written to it";
    return refused;
}

FolderKey MakeFolderKey(const std::filesystem::path& file) {
    const auto key = seal::NewKey();
    if (!key) return Refused("The system could not make a key for the history folder");
    auto sealer = std::make_shared<const seal::KeySealer>(*key);
    const auto id = KeyIdOf(*sealer);
    // Kept on this machine before any file is sealed with it: a crash cannot leave files no key opens.
    if (!id || !sealer->Usable() || !seal::StoreKey(KeyIdText(*id), *key))
        return Refused("The history's key could not be kept for this user");
    FolderKeyFile layout;
    layout.keyId = *id;
    const std::string bytes = WriteFolderKeyFile(layout, *sealer);
    if (bytes.empty() || !PlaceNewKeyFile(file, bytes)) return {};  // someone else's came first: read it
    FolderKey made;
    made.sealer = std::move(sealer);
    return made;
}

}  // namespace

FolderKey KeyOfFolder(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::filesystem::path file = folder / kFolderKeyFileName;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::error_code missing;
        if (!std::filesystem::exists(file, missing) && !missing && std::filesystem::is_directory(folder, missing)) {
            FolderKey made = MakeFolderKey(file);
            if (made.sealer || !made.problem.empty()) return made;
            continue;
        }
        std::string bytes;
        if (!ReadFileWithin(file, kMostKeyFileBytes, bytes))
            return Refused("The history folder or its key file cannot be read");
        const auto layout = ReadFolderKeyFile(bytes);
        if (!layout) return Refused("The history folder's key file is damaged");
        const auto key = seal::StoredKey(KeyIdText(layout->keyId));
        if (!key) return Refused("The history folder is sealed with a key this user does not hold here");
        auto sealer = std::make_shared<const seal::KeySealer>(*key);
        if (!FolderKeyFileVouched(bytes, *sealer)) return Refused("The history folder's key file was changed");
        FolderKey found;
        found.sealer = std::move(sealer);
        found.plainFilesSealed = layout->plainFilesSealed;
        return found;
    }
    return Refused("The history folder's key file cannot be made");
}

bool NotePlainFilesSealed(const std::filesystem::path& folder, const seal::KeySealer& sealer) {
    const std::filesystem::path file = folder / kFolderKeyFileName;
    std::string bytes;
    if (!ReadFileWithin(file, kMostKeyFileBytes, bytes) || !FolderKeyFileVouched(bytes, sealer)) return false;
    auto layout = ReadFolderKeyFile(bytes);
    layout->plainFilesSealed = true;
    const std::string noted = WriteFolderKeyFile(*layout, sealer);
    return !noted.empty() && WriteFileWhole(file, noted);
}

}  // namespace history
