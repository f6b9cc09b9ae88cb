// One clip as a file of the history on disk: a small versioned header (kind, time captured, pinned, the
// label the list shows), then every format the clip keeps, as it was captured. docs/clip-file.md describes
// the bytes. A file is read whole or not at all: anything truncated, damaged, of a newer version or not
// ours is refused with its reason, never half-read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace history {

const std::uint32_t kClipFileVersion = 1;

// A format by the name that finds it again on any machine: "#13" for a standard one (its number),
// the registered name ("HTML Format") otherwise; the bytes as the clipboard held them.
struct StoredFormat {
    std::string name;
    std::string bytes;
    bool operator==(const StoredFormat& o) const { return name == o.name && bytes == o.bytes; }
};

// What start-up reads of each file: enough to list the clip without its formats.
struct ClipFileHeader {
    std::string kind;                 // kKindText, kKindRichText, kKindPicture, kKindFileList
    std::uint64_t capturedAtMs = 0;   // milliseconds since 1970-01-01 UTC
    bool pinned = false;
    std::string label;                // UTF-8, as the list shows it
    std::uint64_t fileBytes = 0;      // read: how long the writer made the whole file (not compared)
    bool operator==(const ClipFileHeader& o) const {
        return kind == o.kind && capturedAtMs == o.capturedAtMs && pinned == o.pinned && label == o.label;
    }
};

struct ClipFileContents {
    ClipFileHeader header;
    std::vector<StoredFormat> formats;
};

// kNotSealed: a file that is not sealed with this history's key (another history's, planted, or plain).
enum class ClipFileError { kNone, kNotOurs, kNewerVersion, kTruncated, kDamaged, kNotSealed };

// FNV-1a, 64 bits: enough to tell a damaged file from a whole one, and to name a file by what it holds.
// hash continues an earlier checksum over the bytes before these.
const std::uint64_t kChecksumStart = 14695981039346656037ull;
std::uint64_t Checksum(const char* data, std::size_t size, std::uint64_t hash = kChecksumStart);

// What a clip holds, for its file's name: its formats' names and bytes, not its header.
std::uint64_t ContentChecksum(const std::vector<StoredFormat>& formats);

std::string WriteClipFile(const ClipFileContents& clip);
// How long that file is, worked out without writing it.
std::uint64_t ClipFileBytes(const ClipFileContents& clip);

// The header alone, from as many leading bytes of the file as are at hand (kClipFileHeaderRead suffice
// for a label of up to 1 KB); kTruncated when they are too few.
const std::size_t kClipFileHeaderRead = 2048;
std::optional<ClipFileHeader> ReadClipFileHeader(const std::string& leading, ClipFileError& error);
// The whole file, its checksum verified.
std::optional<ClipFileContents> ReadClipFile(const std::string& file, ClipFileError& error);

}  // namespace history
