// Text inside the program is UTF-8; the Win32 seam speaks UTF-16. These conversions are portable so
// that the rules built on them (labels, search) are tested natively. Malformed input never throws:
// a byte or unit that does not decode becomes U+FFFD.
#pragma once

#include <cstddef>
#include <string>

namespace common {

std::u16string Utf8ToUtf16(const std::string& utf8);
// Writes the units at `out`, which has room for utf8.size() of them (never more are needed), and returns
// how many it wrote: megabytes convert without a copy of the result.
std::size_t Utf8ToUtf16(const std::string& utf8, char16_t* out);
// The bytes of the UTF-16 text ending in a null unit, as the clipboard holds Unicode text.
std::string Utf16Block(const std::string& utf8);
std::string Utf16ToUtf8(const char16_t* units, std::size_t count);
inline std::string Utf16ToUtf8(const std::u16string& units) { return Utf16ToUtf8(units.data(), units.size()); }

std::size_t CodePointCount(const std::string& utf8);
// The first `count` code points (never a cut through a character); all of it when shorter.
std::string Utf8Prefix(const std::string& utf8, std::size_t count);

// Lower case for comparing without regard to case: ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic,
// Armenian and the full-width Latin letters; every other character stays as it is.
std::string FoldCase(const std::string& utf8);

}  // namespace common
