#include "clips/ClipFormats.h"

#include <algorithm>
#include <cstring>

#include "common/Utf8.h"
#include "common/WindowText.h"

namespace clips {

std::string Utf8OfUnicodeBlock(const std::string& block) {
    std::wstring units(block.size() / sizeof(wchar_t), L'\0');
    std::memcpy(&units[0], block.data(), units.size() * sizeof(wchar_t));  // the block may be unaligned
    return common::Narrow(units.c_str(), std::min(units.size(), units.find(L'\0')));
}

ClipFormat UnicodeTextFormat(const std::string& utf8) {
    // Converted into the block's own bytes, ending in a null unit: megabytes are not copied once more.
    std::string bytes((utf8.size() + 1) * sizeof(char16_t), '\0');
    const std::size_t units = common::Utf8ToUtf16(utf8, reinterpret_cast<char16_t*>(&bytes[0]));
    bytes.resize((units + 1) * sizeof(char16_t));
    return {CF_UNICODETEXT, std::move(bytes)};
}

}  // namespace clips
