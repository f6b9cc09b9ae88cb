// A picture tests and benchmarks copy: thirty horizontal bands, the third channel set by serial so that
// every copy differs.
#pragma once

#include <windows.h>

#include <string>

#include "support/painted_bitmap.h"

namespace testsupport {

inline COLORREF BandColour(int band, int serial) { return RGB(band * 8, 255 - band * 8, serial * 9 % 256); }

inline HBITMAP BandedPicture(int width, int height, int serial) {
    return PaintedBitmap(width, height, [&](HDC dc) {
        for (int band = 0; band < 30; ++band) {
            HBRUSH brush = CreateSolidBrush(BandColour(band, serial));
            RECT r = {0, band * height / 30, width, (band + 1) * height / 30};
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
    });
}

// Starts picture_peer (its path as Unix names it) copying a banded picture as a bitmap. It ends by itself
// once another copy replaces its own.
inline bool StartPicturePeer(const std::string& peer, int width, int height, int serial) {
    std::string command = "\"Z:" + peer + "\" " + std::to_string(width) + " " + std::to_string(height) + " " +
                          std::to_string(serial) + " bitmap";
    for (char& c : command)
        if (c == '/') c = '\\';
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace testsupport
