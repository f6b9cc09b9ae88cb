#include "clipboard/DropFiles.h"

#include <cstdint>

namespace clipboard {

namespace {

// DWORD pFiles; POINT pt; BOOL fNC; BOOL fWide.
const std::size_t kHeaderBytes = 20;

std::uint32_t ReadUint32(const std::string& block, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(block[at + i]);
    return value;
}

}  // namespace

DropNames ParseDropFiles(const std::string& block) {
    DropNames list;
    if (block.size() < kHeaderBytes) return list;
    list.wide = ReadUint32(block, 16) != 0;
    const std::size_t unit = list.wide ? 2 : 1;
    const std::uint32_t offset = ReadUint32(block, 0);
    if (offset >= block.size()) return list;  // compared before any sum, which could wrap in 32 bits
    // Room for one more character at position i.
    auto fits = [&](std::size_t i) { return block.size() - i >= unit; };
    std::size_t at = offset;
    while (fits(at)) {
        std::size_t end = at;
        while (fits(end) && (block[end] != '\0' || (unit == 2 && block[end + 1] != '\0'))) end += unit;
        if (!fits(end) || end == at) break;  // cut off, or the empty name that ends the list
        list.names.push_back(block.substr(at, end - at));
        at = end + unit;
    }
    return list;
}

}  // namespace clipboard
