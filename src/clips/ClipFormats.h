// What a clip keeps of a copy: each clipboard format it held in memory, with its bytes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace clips {

// One clipboard format and the bytes of its memory block.
struct ClipFormat {
    UINT format;
    std::string bytes;
    bool operator==(const ClipFormat& o) const { return format == o.format && bytes == o.bytes; }
};
using ClipFormats = std::vector<ClipFormat>;

// The entry of `format` among `formats`, or null.
inline const ClipFormat* FindFormat(const ClipFormats& formats, UINT format) {
    for (const ClipFormat& entry : formats)
        if (entry.format == format) return &entry;
    return nullptr;
}

// The bytes of each format, in order, as a fingerprint of a copy takes them.
inline std::vector<const std::string*> BytesOf(const ClipFormats& formats) {
    std::vector<const std::string*> bytes;
    for (const ClipFormat& format : formats) bytes.push_back(&format.bytes);
    return bytes;
}

// The bytes of UTF-8 text as a CF_UNICODETEXT block holds them, with the closing NUL.
ClipFormat UnicodeTextFormat(const std::string& utf8);
// And back: the text of a CF_UNICODETEXT block in UTF-8, cut at its NUL or at the end of the block.
std::string Utf8OfUnicodeBlock(const std::string& block);

}  // namespace clips
