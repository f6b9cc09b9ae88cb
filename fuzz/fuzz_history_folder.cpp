// Feeds a history folder made of arbitrary names and bytes to its listing, as anyone who can write a
// shared folder could leave it. Input: records of a name (1 length byte) and its bytes (2 length bytes).
// Every name reads as an id or as none; the listing lists each file at most once, in time order.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzRequire.h"
#include "history/ClipFile.h"
#include "history/HistoryFolder.h"
#include "support/test_sealer.h"

namespace fs = std::filesystem;

namespace {
// Removed when the fuzzer exits, so that runs leave nothing behind.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("ardentia-fuzz-folder-" + std::to_string(getpid()));
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder scratch;
    const fs::path& folder = scratch.path;
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::size_t at = 0, files = 0;
    while (at < size && files < 16) {
        const std::size_t nameBytes = data[at++];
        if (at + nameBytes + 2 > size) break;
        std::string name(reinterpret_cast<const char*>(data + at), nameBytes);
        at += nameBytes;
        const std::size_t bytes = std::min<std::size_t>(size - at - 2, data[at] | (data[at + 1] << 8));
        at += 2;
        bool exact = false;
        if (const auto id = history::ParseClipFileName(name, exact); id && exact && id->machine != 0)
            Require(history::ClipFileName(*id) == name);
        for (char& c : name)
            if (c == '/' || c == '\0') c = '_';
        if (name.empty() || name == "." || name == "..") name = "_" + name;
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(data + at), std::streamsize(bytes));
        at += bytes;
        ++files;
    }
    static const testsupport::TestSealer sealer(1);
    const history::HistoryListing listing = history::ListHistoryFolder(folder, sealer);
    Require(listing.clips.size() + listing.hidden.size() +
                std::size_t(listing.damaged + listing.unsealed + listing.arriving) <= files);
    for (std::size_t i = 1; i < listing.clips.size(); ++i) Require(listing.clips[i - 1].id < listing.clips[i].id);
    for (const auto& clip : listing.clips) history::RemoveOlderCopies(clip.File(folder), sealer);
    return 0;
}
