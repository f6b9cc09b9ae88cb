// The Win32 seam for text: the program keeps UTF-8, windows and files are spoken to in UTF-16.
// Widen and Narrow are the one pair of conversions (FromAnsi for what comes in the ANSI code page); the
// rest is written once for every window.
#pragma once

#include <windows.h>

#include <string>

#include "common/Utf8.h"

namespace common {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

inline std::wstring Widen(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(Utf8ToUtf16(utf8, reinterpret_cast<char16_t*>(&wide[0])));
    return wide;
}

inline std::string Narrow(const wchar_t* wide, std::size_t count) {
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide), count);
}
inline std::string Narrow(const std::wstring& wide) { return Narrow(wide.data(), wide.size()); }

// Text in the system's ANSI code page (what older programs hand over) as UTF-8.
inline std::string FromAnsi(const char* ansi, std::size_t count) {
    const int length = count ? MultiByteToWideChar(CP_ACP, 0, ansi, int(count), nullptr, 0) : 0;
    std::wstring wide(std::size_t(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, ansi, int(count), &wide[0], length);
    return Narrow(wide);
}

// The whole text of a window, however long.
inline std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return "";
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, &text[0], length + 1)));
    return Narrow(text);
}

inline bool SetWindowTextUtf8(HWND window, const std::string& text) {
    return SetWindowTextW(window, Widen(text).c_str()) != FALSE;
}

inline bool IsTicked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace common
