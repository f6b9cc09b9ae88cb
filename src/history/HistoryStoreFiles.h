// Between a live clip and its clip file: what is written of a clip, and a clip made again from its file.
// Used by the history store alone.
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

// The formats of the clip with this tag, as its file holds them (time and label are the caller's). False
// while its picture is still being compressed; contents empty when there is nothing to write.
bool ContentsOfClip(const clips::ClipId& tag, std::optional<ClipFileContents>& contents);
// Fills the holder at index (created here) with a clip read from its file; false when the file holds no
// usable clip (the holder may then be half made: the caller releases it).
bool FillHolderFromFile(const ClipFileContents& clip, std::int16_t index);
// What search reads of a clip not held: its text (the first kStoredSearchChars), or a picture's size.
const std::size_t kStoredSearchChars = 64 * 1024;
const std::size_t kStoredSearchRtfBytes = 1024 * 1024;  // of rich text alone, read through a box: bounded
// What search reads of a clip file; false when it holds no whole clip. Any thread.
bool ReadSearchTextOfFile(const std::filesystem::path& file, StoredSearchText& read);
// The plain text of rich text offered alone, read through the window thread's markup box.
void ReadMarkupOf(StoredSearchText& read);
// Lists a stored clip at a list position (the end when past it), from its header alone; returns its tag.
// It holds nothing yet.
// "" when every slot is taken: the clip is not listed.
clips::ClipId InsertListedClip(const ClipFileHeader& header, int position);

// The whole file, checked; empty when it cannot be read or is not a whole clip file.
bool ReadStoredClip(const std::filesystem::path& file, std::optional<ClipFileContents>& clip);

// The store's own records (HistoryStore.cpp).
void NoteRestoredClip(const clips::ClipId& tag, const StoredClip& stored);
// Starts reading what search reads of the clips not held, newest first, off the window's thread.
void ReadSearchTextsAhead();
void DeleteStoredFile(const std::filesystem::path& file);
// A file left where it is and no longer listed here (another machine's, past this machine's limits).
void UnlistStoredFile(const ClipFileId& id);
// Takes a clip whose file proved damaged off the list, leaving the file where it is.
void DropDamagedClip(int position);

}  // namespace history
