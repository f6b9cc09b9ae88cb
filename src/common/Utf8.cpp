#include "common/Utf8.h"

namespace common {

namespace {

const char32_t kReplacement = 0xFFFD;

// Decodes one code point at `at` and moves past it; a malformed sequence yields U+FFFD and one byte.
char32_t NextCodePoint(const std::string& s, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    int extra = 0;
    char32_t cp = 0, minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    for (int i = 1; i <= extra; ++i) {
        if (at + std::size_t(i) >= s.size() || (byte(at + std::size_t(i)) & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        cp = (cp << 6) | (byte(at + std::size_t(i)) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += std::size_t(extra) + 1;
    return cp;
}

// Writes the code point's UTF-8 bytes at `to` and returns the end.
char* PutUtf8(char* to, char32_t cp) {
    if (cp < 0x80) {
        *to++ = char(cp);
    } else if (cp < 0x800) {
        *to++ = char(0xC0 | (cp >> 6));
        *to++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *to++ = char(0xE0 | (cp >> 12));
        *to++ = char(0x80 | ((cp >> 6) & 0x3F));
        *to++ = char(0x80 | (cp & 0x3F));
    } else {
        *to++ = char(0xF0 | (cp >> 18));
        *to++ = char(0x80 | ((cp >> 12) & 0x3F));
        *to++ = char(0x80 | ((cp >> 6) & 0x3F));
        *to++ = char(0x80 | (cp & 0x3F));
    }
    return to;
}

void AppendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, PutUtf8(bytes, cp));
}

char32_t Fold(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        // Pairs upper/lower, even/odd, with the odd/even stretch between U+0139 and U+0148 and U+0179 on.
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        if (c == 0x178) return 0xFF;
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return oddUpper ? ((c & 1) ? c + 1 : c) : ((c & 1) ? c : c + 1);
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;  // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;                // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF)) return (c & 1) ? c : c + 1;
    if (c >= 0x531 && c <= 0x556) return c + 0x30;  // Armenian
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;  // full-width Latin
    return c;
}

}  // namespace

std::size_t Utf8ToUtf16(const std::string& utf8, char16_t* out) {
    char16_t* to = out;
    for (std::size_t at = 0; at < utf8.size();) {
        if (static_cast<unsigned char>(utf8[at]) < 0x80) {
            *to++ = char16_t(utf8[at++]);
            continue;
        }
        const char32_t cp = NextCodePoint(utf8, at);
        if (cp < 0x10000) {
            *to++ = char16_t(cp);
        } else {
            *to++ = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            *to++ = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return std::size_t(to - out);
}

std::string Utf16Block(const std::string& utf8) {
    // Converted into the block's own bytes: megabytes are not copied once more.
    std::string bytes((utf8.size() + 1) * sizeof(char16_t), '\0');
    const std::size_t units = Utf8ToUtf16(utf8, reinterpret_cast<char16_t*>(&bytes[0]));
    bytes.resize((units + 1) * sizeof(char16_t));
    return bytes;
}

std::u16string Utf8ToUtf16(const std::string& utf8) {
    std::u16string out(utf8.size(), u'\0');
    out.resize(Utf8ToUtf16(utf8, &out[0]));
    return out;
}

namespace {

// Decodes the code point at `i` and moves past it; a lone surrogate yields U+FFFD.
char32_t NextUnit(const char16_t* units, std::size_t count, std::size_t& i) {
    const char32_t cp = units[i++];
    if (cp < 0xD800 || cp > 0xDFFF) return cp;
    if (cp <= 0xDBFF && i < count && units[i] >= 0xDC00 && units[i] <= 0xDFFF)
        return 0x10000 + ((cp - 0xD800) << 10) + (char32_t(units[i++]) - 0xDC00);
    return kReplacement;
}

}  // namespace

// Written in place into room for the longest result (a plain count the compiler vectorises: a surrogate pair
// counted as two three-byte units takes four), then cut to length: megabytes of copied text convert on the
// capture's path.
std::string Utf16ToUtf8(const char16_t* units, std::size_t count) {
    std::size_t room = count;
    for (std::size_t i = 0; i < count; ++i) room += std::size_t(units[i] >= 0x80) + std::size_t(units[i] >= 0x800);
    std::string out(room, '\0');
    char* const start = &out[0];
    char* to = start;
    for (std::size_t i = 0; i < count;) {
        if (units[i] < 0x80)
            *to++ = char(units[i++]);
        else
            to = PutUtf8(to, NextUnit(units, count, i));
    }
    out.resize(std::size_t(to - start));
    return out;
}

std::size_t CodePointCount(const std::string& utf8) {
    // Every byte but a continuation byte starts a character: a plain count, fast over megabytes.
    // Meant for the program's own text, which is valid UTF-8 (stray continuation bytes are not counted).
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string Utf8Prefix(const std::string& utf8, std::size_t count) {
    if (count >= utf8.size()) return utf8;  // no character is shorter than a byte
    std::size_t at = 0;
    for (std::size_t n = 0; n < count && at < utf8.size(); ++n) NextCodePoint(utf8, at);
    return utf8.substr(0, at);
}

std::string FoldCase(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) AppendUtf8(out, Fold(NextCodePoint(utf8, at)));
    return out;
}

}  // namespace common
