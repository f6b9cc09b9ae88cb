#include "capture/ClipboardPicture.h"

#include <cstdlib>

#include "capture/ClipLimits.h"
#include "capture/ClipboardAccess.h"
#include "capture/PngPicture.h"

namespace capture {

namespace {

bool gPictureHoldFails = false;

DibHeader FieldsOf(const BITMAPINFOHEADER& header) {
    DibHeader fields;
    fields.size = header.biSize;
    fields.width = header.biWidth;
    fields.height = header.biHeight;
    fields.bitCount = header.biBitCount;
    fields.compression = header.biCompression;
    fields.sizeImage = header.biSizeImage;
    fields.colorsUsed = header.biClrUsed;
    return fields;
}

BITMAPINFO TopDown32(LONG width, LONG height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// An empty 32-bit top-down section of the given size, and where its pixels are.
HBITMAP NewSection(LONG width, LONG height, void** bits) {
    if (gPictureHoldFails || width <= 0 || height <= 0) return nullptr;
    const BITMAPINFO info = TopDown32(width, height);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The device-independent bitmap on the open clipboard, converted by the system into a new section.
// Null when it is not there, incomplete, or in a form the system cannot convert.
HBITMAP SectionFromDib(HANDLE block) {
    const SIZE_T blockBytes = block ? GlobalSize(block) : 0;
    if (blockBytes < sizeof(BITMAPINFOHEADER)) return nullptr;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
    if (!header) return nullptr;
    HBITMAP section = nullptr;
    const DibHeader fields = FieldsOf(*header);
    const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    void* bits = nullptr;
    // Checked again here: the clipboard may have changed since the size was checked.
    if (blockBytes >= DibBytesNeeded(fields) && (section = NewSection(header->biWidth, height, &bits))) {
        const char* pixels = reinterpret_cast<const char*>(header) + DibPixelOffset(fields);
        HDC screen = GetDC(nullptr);
        const int rows = SetDIBits(screen, section, 0, UINT(height), pixels, reinterpret_cast<const BITMAPINFO*>(header),
                                   DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (rows != height) {
            DeleteObject(section);
            section = nullptr;
        }
    }
    GlobalUnlock(block);
    return section;
}

HBITMAP SectionFromBitmap(HBITMAP source) {
    BITMAP info;
    if (!source || !GetObject(source, sizeof(info), &info)) return nullptr;
    void* bits = nullptr;
    HBITMAP section = NewSection(info.bmWidth, info.bmHeight, &bits);
    if (!section) return nullptr;
    BITMAPINFO format = TopDown32(info.bmWidth, info.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, source, 0, UINT(info.bmHeight), bits, &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) {
        DeleteObject(section);
        return nullptr;
    }
    return section;
}

}  // namespace

void SetPictureHoldFailsForTesting(bool fails) { gPictureHoldFails = fails; }

bool ClipboardPictureSize(HWND owner, std::uint64_t& width, std::uint64_t& height, bool& complete) {
    ClipboardSession session(owner);
    if (!session.open) return false;
    complete = true;
    if (IsClipboardFormatAvailable(CF_DIB)) {
        HANDLE data = GetClipboardData(CF_DIB);
        const SIZE_T blockBytes = data ? GlobalSize(data) : 0;
        if (blockBytes >= sizeof(BITMAPINFOHEADER)) {
            const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
            if (header) {
                const DibHeader fields = FieldsOf(*header);
                complete = blockBytes >= DibBytesNeeded(fields);
                GlobalUnlock(data);
                width = std::uint64_t(std::abs(std::int64_t(fields.width)));
                height = std::uint64_t(std::abs(std::int64_t(fields.height)));
                return true;
            }
        } else if (data) {
            complete = false;  // not even a whole header
            return true;
        }
    }
    if (!IsClipboardFormatAvailable(CF_BITMAP)) {
        const auto png = BlockBytes(PngFormat());
        if (!png) return false;
        complete = PngSize(*png, width, height);  // the codec is not asked to read what is not a PNG
        return true;
    }
    BITMAP info;
    HANDLE bitmap = GetClipboardData(CF_BITMAP);
    if (!bitmap || !GetObject(bitmap, sizeof(info), &info)) return false;
    width = std::uint64_t(info.bmWidth);
    height = std::uint64_t(info.bmHeight);
    return true;
}

HBITMAP ReadClipboardBitmap(HWND owner, std::string* whyNot) {
    ClipboardSession session(owner);
    if (!session.open) return nullptr;
    HBITMAP pixels = nullptr;
    bool offered = false, decoded = false;
    // The device-independent bitmap is read directly: asking for the bitmap would make the system build
    // one more full copy of the pixels.
    if (IsClipboardFormatAvailable(CF_DIB)) {
        HANDLE block = GetClipboardData(CF_DIB);
        offered = block != nullptr;
        pixels = SectionFromDib(block);
    }
    if (!pixels && IsClipboardFormatAvailable(CF_BITMAP)) {
        HBITMAP source = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        offered = offered || source != nullptr;
        pixels = SectionFromBitmap(source);
    } else if (!pixels && !offered) {
        if (const auto png = BlockBytes(PngFormat())) {
            offered = decoded = true;
            if (!gPictureHoldFails) pixels = DecodePng(*png);
        }
    }
    if (whyNot && offered && !pixels)
        *whyNot = decoded && !gPictureHoldFails ? "Not kept: the picture could not be decoded"
                                                : "Not kept: there was not enough memory to hold the picture";
    return pixels;
}

}  // namespace capture
