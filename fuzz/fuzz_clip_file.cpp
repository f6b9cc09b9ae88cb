// Feeds arbitrary bytes to the reader of the history's clip files, as a damaged or foreign file in the
// history folder would. A file it accepts writes back to the very same bytes, and its header read alone
// agrees with the whole.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzRequire.h"
#include "history/ClipFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    history::ClipFileError error = history::ClipFileError::kNone;
    const auto clip = history::ReadClipFile(file, error);
    Require(clip.has_value() == (error == history::ClipFileError::kNone));
    const auto header = history::ReadClipFileHeader(file, error);
    if (!clip) return 0;
    Require(history::WriteClipFile(*clip) == file);
    Require(header && *header == clip->header);
    return 0;
}
