// One clip as a sealed file (version 2): what a reader needs before opening it (magic, version, lengths)
// stays outside and is authenticated; the header (kind, time, pin, label) is sealed on its own, so that a
// listing still reads only the start of a file, and the formats are sealed behind it. docs/clip-file.md
// describes the bytes. Without the history's key nothing in the file can be read, and a file changed by
// one byte, sealed with another key or not sealed at all is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Sealer.h"
#include "history/ClipFile.h"

namespace history {

const std::uint32_t kSealedClipFileVersion = 2;

// The file's bytes; empty when the system could not seal them.
std::string WriteSealedClipFile(const ClipFileContents& clip, const common::Sealer& sealer);
// How long that file is, worked out without sealing it.
std::uint64_t SealedClipFileBytes(const ClipFileContents& clip, const common::Sealer& sealer);
// The header alone, from the file's first kClipFileHeaderRead bytes (or all of a shorter file).
std::optional<ClipFileHeader> ReadSealedClipFileHeader(const std::string& leading, const common::Sealer& sealer,
                                                       ClipFileError& error);
std::optional<ClipFileContents> ReadSealedClipFile(const std::string& file, const common::Sealer& sealer,
                                                   ClipFileError& error);

// The content part of a file's name: keyed, so that a name tells no one without the key what the clip
// holds, and the same content still has the same name on every machine that shares the key.
std::optional<std::uint64_t> SealedContentId(const std::vector<StoredFormat>& formats, const common::Sealer& sealer);

}  // namespace history
