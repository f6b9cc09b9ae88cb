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

ClipFormat UnicodeTextFormat(const std::string& utf8) { return {CF_UNICODETEXT, common::Utf16Block(utf8)}; }

}  // namespace clips
