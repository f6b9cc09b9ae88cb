// Reads a history folder as the program does at start and prints what it finds, for the tests that
// look at the folder from outside the program: "clips N damaged M temporary T".
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "history/HistoryFolder.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path folder(argv[1]);
    const history::HistoryListing listing = history::ListHistoryFolder(folder);
    int whole = 0, damaged = listing.damaged, temporary = 0;
    // A file listed under a final name must be whole to its last byte, checksum and all.
    for (const history::StoredClip& clip : listing.clips) {
        std::ifstream in(clip.file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        history::ClipFileError error = history::ClipFileError::kNone;
        ++(history::ReadClipFile(bytes, error) ? whole : damaged);
    }
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        temporary += history::IsClipFileName(entry.path().filename().string()) ? 0 : 1;
    std::printf("clips %d damaged %d temporary %d\n", whole, damaged, temporary);
    return 0;
}
