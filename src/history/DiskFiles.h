// One file of the history folder read, written, replaced or deleted so that the sync client, indexer or
// virus scanner that holds it for a moment neither loses a clip nor is blocked by us. Portable; the few
// steps that differ by system are in DiskFilesWindows.cpp and DiskFilesPosix.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace history {

// A file's bytes, read whole only when it holds at most `most` of them (a clip file of ours is bounded, and
// one much longer could take all the memory there is); false otherwise or when it cannot be read.
bool ReadFileWithin(const std::filesystem::path& file, std::uint64_t most, std::string& bytes);

// A file's first `count` bytes (all of a shorter one); none when it cannot be opened.
std::optional<std::string> ReadLeadingBytes(const std::filesystem::path& file, std::size_t count);

// Writes bytes under a temporary name, flushes them to the disk and only then moves the file into
// place, replacing a file of that name in one step: after a crash the file is whole or absent. A file held
// open by another program is waited for a moment. False (why says why, nothing is left behind) when it
// cannot be.
bool WriteFileWhole(const std::filesystem::path& file, const std::string& bytes, std::string* why = nullptr);
// Deletes a file, waiting a moment for another program that holds it open; true when it is gone (or was).
bool RemoveFile(const std::filesystem::path& file, std::string* why = nullptr);

// The steps that differ by system. A file we hold open may still be renamed or deleted by others (on
// Windows it is shared for delete too); a move replaces its target in one step; a delete of a file that is
// not there is done.
std::FILE* OpenSharing(const std::filesystem::path& file, bool writing);
bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::string& why);
bool DeleteOnce(const std::filesystem::path& file, std::string& why);
// A file a sync service has left in the cloud (a placeholder): opening it would bring it down, so only using
// its clip does.
bool LeftInTheCloud(const std::filesystem::path& file);

}  // namespace history
