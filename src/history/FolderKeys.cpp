#include "history/FolderKeys.h"

#include <windows.h>

#include <functional>
#include <optional>

#include "history/DiskFiles.h"
#include "history/FolderKeyFile.h"
#include "history/HistoryFolder.h"
#include "history/RecoveryCode.h"
#include "seal/KeyStore.h"
#include "seal/Passphrase.h"

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

bool HoldsClipFiles(const std::filesystem::path& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (IsClipFileName(NameOf(it->path()).value_or(""))) return true;
    return bool(error);  // a folder that cannot be listed may hold some
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
    // A folder new to history holds no plain files to seal: none is looked for at each start.
    layout.plainFilesSealed = !HoldsClipFiles(file.parent_path());
    const std::string bytes = WriteFolderKeyFile(layout, *sealer);
    if (bytes.empty() || !PlaceNewKeyFile(file, bytes)) return {};  // someone else's came first: read it
    FolderKey made;
    made.sealer = std::move(sealer);
    return made;
}

// The folder opened with a key given by the user, kept for them from then on. wrong is what a key that does
// not open the folder is told with.
FolderKey KeepKeyThatOpens(const std::filesystem::path& folder,
                           const std::function<std::optional<seal::Key>(const FolderKeyFile&)>& keyOf,
                           const std::string& wrong) {
    std::string bytes;
    if (!ReadFileWithin(folder / kFolderKeyFileName, kMostKeyFileBytes, bytes))
        return Refused("The history folder or its key file cannot be read");
    const auto layout = ReadFolderKeyFile(bytes);
    const auto key = layout ? keyOf(*layout) : std::nullopt;
    if (!key) return Refused(wrong);
    // A key file someone made to look like the folder's (a key of their own, wrapped with the passphrase)
    // names another key than the one it vouches for, or vouches for nothing.
    if (!FolderKeyFileVouched(bytes, seal::KeySealer(*key))) return Refused(wrong);
    if (!seal::StoreKey(KeyIdText(layout->keyId), *key))
        return Refused("The history's key could not be kept for this user");
    return KeyOfFolder(folder);
}

// The folder's key file, believed only as the key wrote it, changed and written whole again; "" when done,
// else what went wrong.
std::string RewriteKeyFile(const std::filesystem::path& folder, const seal::KeySealer& sealer,
                           const std::function<void(FolderKeyFile&)>& change) {
    const std::filesystem::path file = folder / kFolderKeyFileName;
    std::string bytes;
    if (!ReadFileWithin(file, kMostKeyFileBytes, bytes) || !FolderKeyFileVouched(bytes, sealer))
        return "the history folder's key file cannot be read";
    auto layout = ReadFolderKeyFile(bytes);
    change(*layout);
    const std::string rewritten = WriteFolderKeyFile(*layout, sealer);
    std::string why;
    if (rewritten.empty() || !WriteFileWhole(file, rewritten, &why)) return "the key file cannot be written: " + why;
    return "";
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
        if (!key && !layout->wrappedKey.empty()) {
            FolderKey asks = Refused("The history folder is sealed with a passphrase not yet given on this machine");
            asks.asksPassphrase = true;
            return asks;
        }
        if (!key) {
            FolderKey asks = Refused("The history folder is sealed with a key this user does not hold here");
            asks.asksRecoveryCode = true;
            return asks;
        }
        auto sealer = std::make_shared<const seal::KeySealer>(*key);
        if (!FolderKeyFileVouched(bytes, *sealer)) return Refused("The history folder's key file was changed");
        FolderKey found;
        found.sealer = std::move(sealer);
        found.plainFilesSealed = layout->plainFilesSealed;
        return found;
    }
    return Refused("The history folder's key file cannot be made");
}

FolderKey OpenWithPassphrase(const std::filesystem::path& folder, const std::string& passphrase) {
    return KeepKeyThatOpens(
        folder, [&](const FolderKeyFile& layout) { return seal::UnwrapKey(layout.wrappedKey, passphrase); },
        "The passphrase does not open this history folder");
}

FolderKey OpenWithRecoveryCode(const std::filesystem::path& folder, const std::string& code) {
    return KeepKeyThatOpens(
        folder, [&](const FolderKeyFile&) -> std::optional<seal::Key> { return KeyOfRecoveryCode(code); },
        "The recovery code does not open this history folder");
}

std::string SetPassphrase(const std::filesystem::path& folder, const seal::KeySealer& sealer,
                          const std::string& passphrase) {
    const auto wrapped = seal::WrapKey(sealer.KeyBytes(), passphrase);
    if (!wrapped) return "the system could not wrap the key";
    return RewriteKeyFile(folder, sealer, [&](FolderKeyFile& layout) { layout.wrappedKey = *wrapped; });
}

bool NotePlainFilesSealed(const std::filesystem::path& folder, const seal::KeySealer& sealer) {
    return RewriteKeyFile(folder, sealer, [](FolderKeyFile& layout) { layout.plainFilesSealed = true; }).empty();
}

std::vector<std::shared_ptr<const common::Sealer>> OtherKeysHeld(const seal::KeySealer& folderKey) {
    std::vector<std::shared_ptr<const common::Sealer>> others;
    const auto id = KeyIdOf(folderKey);
    for (const auto& [otherId, key] : seal::StoredKeys())
        if (!id || otherId != KeyIdText(*id)) others.push_back(std::make_shared<const seal::KeySealer>(key));
    return others;
}

}  // namespace history
