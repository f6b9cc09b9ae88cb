// Reading what a control shows, written once for every window that asks.
#pragma once

#include <windows.h>

#include <string>

namespace common {

// The whole text of a window, however long.
inline std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return "";
    std::string text(std::size_t(length) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

inline bool IsTicked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace common
