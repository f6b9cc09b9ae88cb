// Reads a history folder as the program does at start, with the key this user holds for it, for the tests
// that look at the folder from outside the program. "history_check FOLDER" prints what it finds: "clips N
// damaged M temporary T"; "history_check FOLDER find WORDS" prints the file of the newest clip whose label
// holds the words (the files themselves show nothing in the clear); "history_check FOLDER open PASSPHRASE"
// opens a shared folder with its passphrase, its key kept for this user as the program keeps it.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "history/FolderKeyFile.h"
#include "history/FolderKeys.h"
#include "history/HistoryFolder.h"
#include "history/SealedClipFile.h"

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && (std::strcmp(argv[2], "find") == 0 || std::strcmp(argv[2], "open") == 0)))
        return 2;
    const std::filesystem::path folder(argv[1]);
    if (argc == 4 && std::strcmp(argv[2], "open") == 0)
        return history::OpenWithPassphrase(folder, argv[3]).sealer ? 0 : 1;
    const auto key = history::KeyOfFolder(folder);
    if (!key.sealer) return 3;
    const history::HistoryListing listing = history::ListHistoryFolder(folder, *key.sealer);
    if (argc == 4) {
        for (auto it = listing.clips.rbegin(); it != listing.clips.rend(); ++it)
            if (it->header.label.find(argv[3]) != std::string::npos) {
                std::printf("%s\n", it->Name().c_str());
                return 0;
            }
        return 1;
    }
    int whole = 0, damaged = listing.damaged + listing.unsealed, temporary = 0;
    // A file listed under a final name must be whole to its last byte, sealed tag and all.
    for (const history::StoredClip& clip : listing.clips) {
        std::ifstream in(clip.File(folder), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        history::ClipFileError error = history::ClipFileError::kNone;
        ++(history::ReadSealedClipFile(bytes, *key.sealer, error) ? whole : damaged);
    }
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        temporary += history::IsClipFileName(entry.path().filename().string()) ||
                             entry.path().filename() == history::kFolderKeyFileName
                         ? 0
                         : 1;
    std::printf("clips %d damaged %d temporary %d\n", whole, damaged, temporary);
    return 0;
}
