// A history taken to another folder: its clip files copied there (or moved), each whole or not at all. They
// keep the old folder's seal; the new folder's key seals them again when it lists them (SealFilesOfOtherKeys).
#pragma once

#include <filesystem>
#include <string>

namespace history {

struct FilesTransferred {
    int done = 0;
    int failed = 0;
    std::string firstProblem;  // why the first file that failed did
};
// Every clip file of from copied into to (made when missing); with move, a file is deleted in from once its
// copy is whole in to. A file to already holds under that name is the same clip: it is left as it is.
FilesTransferred TransferClipFiles(const std::filesystem::path& from, const std::filesystem::path& to, bool move);

}  // namespace history
