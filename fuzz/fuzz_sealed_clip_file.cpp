// Feeds the sealed clip file's reader two ways. Raw bytes, as anyone who can write into a shared folder
// could leave them: refused, never half-read. And blocks sealed with the history's key, as a machine that
// holds the key could write whatever it likes into them: a file accepted reads back the same once written
// again. The raw bytes are read as the folder's key file too. (The test sealer stands in for the system's
// cipher, which the fuzzing build cannot call.)
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzRequire.h"
#include "history/FolderKeyFile.h"
#include "history/SealedClipFile.h"
#include "support/test_sealer.h"

namespace {

void Put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

// The file's preamble as the writer lays it out (docs/clip-file.md), around two blocks sealed with the key.
std::string SealBlocks(const std::string& header, const std::string& formats, const common::Sealer& sealer) {
    const std::size_t sealedHeader = header.size() + sealer.Overhead();
    std::string file("ARDCLIP\x1A", 8);
    Put(file, 2, 4);
    Put(file, 24 + sealedHeader + formats.size() + sealer.Overhead(), 8);
    Put(file, sealedHeader, 4);
    file += *sealer.Seal(header, file);
    file += *sealer.Seal(formats, file);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const testsupport::TestSealer sealer(42);
    if (size < 3) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string file = input;
    if (data[0] & 1) {
        const std::size_t headerBytes = std::min<std::size_t>(input.size() - 2, (data[1] | (data[2] << 8)) & 0x7FF);
        file = SealBlocks(input.substr(2, headerBytes), input.substr(2 + headerBytes), sealer);
    }
    if (const auto keyFile = history::ReadFolderKeyFile(file); keyFile && history::FolderKeyFileVouched(file, sealer))
        Require(history::WriteFolderKeyFile(*keyFile, sealer) == file);
    history::ClipFileError error = history::ClipFileError::kNone;
    const auto clip = history::ReadSealedClipFile(file, sealer, error);
    Require(clip.has_value() == (error == history::ClipFileError::kNone));
    const auto header = history::ReadSealedClipFileHeader(file.substr(0, history::kClipFileHeaderRead), sealer, error);
    if (!clip) return 0;
    Require(header && *header == clip->header);
    const auto again = history::ReadSealedClipFile(history::WriteSealedClipFile(*clip, sealer), sealer, error);
    Require(again && again->header == clip->header && again->formats == clip->formats);
    return 0;
}
