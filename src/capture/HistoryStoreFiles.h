// Between a live clip and its clip file: what is written of a clip, and a clip made again from its file.
// Used by the history store alone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "capture/ClipFile.h"

namespace capture {

// A picture's own PNG (made here, not offered by its source) goes in the file under this name, which no
// clipboard format has: read back, it is the picture, not a format to offer.
const char kPictureEntryName[] = ".picture";

// The formats of the clip with this tag, as its file holds them (time and label are the caller's). False
// while its picture is still being compressed; contents empty when there is nothing to write.
bool ContentsOfClip(const std::string& tag, std::optional<ClipFileContents>& contents);
// Adds a clip read from its file as the newest of the list; false when the file holds no usable clip.
bool AddClipFromFile(const ClipFileContents& clip, std::string& tag);

// The store's own records (HistoryStore.cpp).
void NoteRestoredClip(const std::string& tag, std::uint64_t capturedAtMs, const std::filesystem::path& file,
                      std::uint64_t fileBytes);
void DeleteStoredFile(const std::filesystem::path& file);

}  // namespace capture
