#include "capture/ClipboardAccess.h"
#include "capture/ClipLimits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace capture {

namespace {

bool gLastOpenFailed = false;

struct ClipboardSession {
    bool open;
    explicit ClipboardSession(HWND owner) : open(OpenClipboardRetrying(owner)) { gLastOpenFailed = !open; }
    ~ClipboardSession() {
        if (open) CloseClipboard();
    }
};

HBITMAP CopyBitmap(HBITMAP bitmap) {
    return bitmap ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

}  // namespace

bool OpenClipboardRetrying(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(20);
    }
    return false;
}

bool LastOpenFailed() { return gLastOpenFailed; }

UINT RichTextFormat() {
    static const UINT format = RegisterClipboardFormatA("Rich Text Format");
    return format;
}

std::optional<std::string> ReadClipboardBytes(HWND owner, UINT format) {
    ClipboardSession session(owner);
    if (!session.open) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    const SIZE_T size = GlobalSize(data);
    if (size == 0) return std::string();
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes) return std::nullopt;
    std::string copy(bytes, size);
    GlobalUnlock(data);
    return copy;
}

std::optional<std::string> ReadClipboardText(HWND owner, UINT format) {
    std::optional<std::string> text = ReadClipboardBytes(owner, format);
    if (text) text->erase(std::min(text->find('\0'), text->size()));
    return text;
}

std::optional<std::uint64_t> ClipboardDataSize(HWND owner, UINT format) {
    ClipboardSession session(owner);
    if (!session.open) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    return std::uint64_t(GlobalSize(data));
}

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
                DibHeader fields;
                fields.size = header->biSize;
                fields.width = header->biWidth;
                fields.height = header->biHeight;
                fields.bitCount = header->biBitCount;
                fields.compression = header->biCompression;
                fields.sizeImage = header->biSizeImage;
                fields.colorsUsed = header->biClrUsed;
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
    BITMAP info;
    HANDLE bitmap = GetClipboardData(CF_BITMAP);
    if (!bitmap || !GetObject(bitmap, sizeof(info), &info)) return false;
    width = std::uint64_t(info.bmWidth);
    height = std::uint64_t(info.bmHeight);
    return true;
}

HBITMAP ReadClipboardBitmap(HWND owner) {
    ClipboardSession session(owner);
    if (!session.open) return nullptr;
    return CopyBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
}

bool WriteClipboardText(HWND owner, const std::string& text) {
    ClipboardSession session(owner);
    if (!session.open || !EmptyClipboard()) return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block) return false;
    char* bytes = static_cast<char*>(GlobalLock(block));
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!SetClipboardData(CF_TEXT, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

bool WriteClipboardBitmap(HWND owner, HBITMAP bitmap) {
    ClipboardSession session(owner);
    if (!session.open || !EmptyClipboard()) return false;
    HBITMAP copy = CopyBitmap(bitmap);
    if (!copy) return false;
    if (!SetClipboardData(CF_BITMAP, copy)) {
        DeleteObject(copy);
        return false;
    }
    return true;
}

bool EmptyTheClipboard(HWND owner) {
    ClipboardSession session(owner);
    return session.open && EmptyClipboard();
}

}  // namespace capture
