// The history folder on disk: one clip file per clip, written whole or not at all, listed in the order
// the clips were captured, and trimmed to the limits the settings give. Portable: the paths are
// std::filesystem paths (UTF-16 on Windows), and nothing here needs Win32.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/ClipFile.h"

namespace capture {

// A clip's file name: the time it was captured (sortable) and a hash of what it holds, so that a
// second write of the same clip finds the same name. Temporary files end otherwise and are never listed.
std::string ClipFileName(std::uint64_t capturedAtMs, const std::string& fileBytes);
bool IsClipFileName(const std::string& name);

// Writes bytes under a temporary name, flushes them to the disk and only then renames the file into
// place: after a crash the file is whole or absent. False (and nothing left behind) when it cannot be.
bool WriteFileWhole(const std::filesystem::path& file, const std::string& bytes);

struct StoredClip {
    std::filesystem::path file;
    ClipFileHeader header;
    std::uint64_t bytes = 0;
};

// What the folder holds, oldest first (by capture time, then name). Files that are not whole clip files
// of ours (cut short, damaged, newer, another program's) are counted in damaged and left where they are.
struct HistoryListing {
    std::vector<StoredClip> clips;
    int damaged = 0;
};
HistoryListing ListHistoryFolder(const std::filesystem::path& folder);
// "1 damaged clip file skipped", "2 damaged clip files skipped"; "" for none.
std::string DamagedFilesLine(int damaged);

// How much the history keeps: "History Size" clips (1 to 10,000; 25 unless set) and "History Disk MB"
// (1 to 1,048,576; 1,024 unless set). Anything else in the settings gives the default.
struct HistoryLimits {
    std::size_t clips = 25;
    std::uint64_t diskBytes = 1024ull << 20;
};
HistoryLimits HistoryLimitsFromSettings(const std::string& size, const std::string& diskMegabytes);

// Which of the clips (oldest first) must go for the rest to fit the limits: the oldest unpinned first.
// Pinned clips never go, even when they alone pass a limit.
std::vector<std::size_t> ClipsToRemove(const std::vector<StoredClip>& oldestFirst, const HistoryLimits& limits);

}  // namespace capture
