// What the history store reads of its clip files off the window's thread: the search text of a file and a
// whole file, checked. Used by the history store alone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "history/ClipFile.h"
#include "clips/ClipCollection.h"
#include "history/HistoryFolder.h"
#include "history/StoredSearchTexts.h"

namespace history {

// A picture's own PNG (made here, not offered by its source) goes in the file under this name, which no
// clipboard format has: read back, it is the picture, not a format to offer.
const char kPictureEntryName[] = ".picture";

// What search reads of a clip not held: its text (the first kStoredSearchChars), or a picture's size.
const std::size_t kStoredSearchChars = 64 * 1024;
const std::size_t kStoredSearchRtfBytes = 1024 * 1024;  // of rich text alone, read through a box: bounded
// What search reads of a clip file; false when it holds no whole clip. Any thread.
bool ReadSearchTextOfFile(const std::filesystem::path& file, const common::Sealer& sealer, StoredSearchText& read);

// The whole file, checked; empty when it cannot be read or is not a whole clip file.
bool ReadStoredClip(const std::filesystem::path& file, const common::Sealer& sealer,
                    std::optional<ClipFileContents>& clip);

}  // namespace history
