// Clip files as a store writes them, for tests that fill a history folder themselves.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "clips/ClipCollection.h"
#include "common/Utf8.h"
#include "history/ClipFile.h"
#include "history/DiskFiles.h"
#include "history/HistoryFolder.h"
#include "history/SealedClipFile.h"

namespace testsupport {

// A text clip's file in folder, sealed and named as machine's store does it; its path, or none if it could not
// be written.
inline std::filesystem::path StoreTextClip(const std::filesystem::path& folder, const common::Sealer& sealer,
                                           std::uint64_t at, const std::string& text, std::uint32_t machine = 7,
                                           bool pinned = false) {
    history::ClipFileContents clip;
    clip.header = {clips::kKindText, at, pinned, text};
    clip.formats = {{"#13", common::Utf16Block(text)}};
    const auto content = history::SealedContentId(clip.formats, sealer);
    const auto file = folder / history::ClipFileName({at, machine, content.value_or(0)});
    const std::string bytes = history::WriteSealedClipFile(clip, sealer);
    return content && !bytes.empty() && history::WriteFileWhole(file, bytes) ? file : std::filesystem::path();
}

}  // namespace testsupport
