// The fields both clip file versions are made of: little-endian numbers, the header block (kind, time,
// flags, label) and the formats block (count, then each name and its bytes). Shared by the plain and the
// sealed file; what surrounds the blocks is each version's own.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/ClipFile.h"

namespace history {

inline void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

// Reads little-endian numbers and byte runs, and says when the bytes ran out instead of reading past them.
class FieldReader {
public:
    FieldReader(const std::string& bytes, std::size_t end) : bytes_(bytes), end_(std::min(end, bytes.size())) {}
    bool Number(std::uint64_t& value, int size) {
        if (end_ - at_ < std::size_t(size)) return false;
        value = 0;
        for (int i = 0; i < size; ++i) value |= std::uint64_t(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
        at_ += std::size_t(size);
        return true;
    }
    bool Bytes(std::string& out, std::uint64_t size) {
        if (end_ - at_ < size) return false;
        out.assign(bytes_, at_, std::size_t(size));
        at_ += std::size_t(size);
        return true;
    }
    std::size_t At() const { return at_; }
    bool AtEnd() const { return at_ == end_; }

private:
    const std::string& bytes_;
    std::size_t end_;
    std::size_t at_ = 0;
};

std::string HeaderBlock(const ClipFileHeader& header);
// The header block's fields, the reader left after them; kDamaged for a kind that is none of the four.
bool ReadHeaderBlock(FieldReader& in, ClipFileHeader& header, ClipFileError& error);
std::string FormatsBlock(const std::vector<StoredFormat>& formats);
// The same block as the pieces it is joined from: its numbers (kept in numbers) and the formats' own names and
// bytes where they lie.
std::vector<std::string_view> FormatsBlockParts(const std::vector<StoredFormat>& formats,
                                                std::vector<std::string>& numbers);
bool ReadFormatsBlock(FieldReader& in, std::vector<StoredFormat>& formats);
// FormatsBlock(formats).size(), worked out without making it.
std::uint64_t FormatsBlockBytes(const std::vector<StoredFormat>& formats);

}  // namespace history
