#include "clipboard/ClipboardPicture.h"

#include <cstdlib>

#include "clips/ClipLimits.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/PictureReaderProcess.h"
#include "pictures/PngPicture.h"

namespace clipboard {

namespace {

bool gPictureHoldFails = false;

pictures::DibHeader FieldsOf(const BITMAPINFOHEADER& header) {
    pictures::DibHeader fields;
    fields.size = header.biSize;
    fields.width = header.biWidth;
    fields.height = header.biHeight;
    fields.bitCount = header.biBitCount;
    fields.compression = header.biCompression;
    fields.sizeImage = header.biSizeImage;
    fields.colorsUsed = header.biClrUsed;
    return fields;
}

// A new held-picture section; none while tests make holding fail.
HBITMAP NewSection(LONG width, LONG height, void** bits) {
    return gPictureHoldFails ? nullptr : pictures::NewPixelSection(width, height, bits);
}

const char kNoMemory[] = "Not kept: there was not enough memory to hold the picture";

// The device-independent bitmap on the open clipboard, converted by the system into a new section. Null
// and why when it is too large, incomplete or cannot be held; null alone when the system cannot convert it.
HBITMAP SectionFromDib(HANDLE block, std::string& why) {
    const SIZE_T blockBytes = GlobalSize(block);
    const auto* header =
        blockBytes >= sizeof(BITMAPINFOHEADER) ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(block)) : nullptr;
    if (!header) {
        why = pictures::PictureRefusal(0, 0, false);
        return nullptr;
    }
    const pictures::DibHeader fields = FieldsOf(*header);
    const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    why = pictures::PictureRefusal(std::uint64_t(std::abs(std::int64_t(fields.width))), std::uint64_t(height),
                         blockBytes >= pictures::DibBytesNeeded(fields));
    void* bits = nullptr;
    HBITMAP section = why.empty() ? NewSection(header->biWidth, height, &bits) : nullptr;
    if (why.empty() && !section) why = kNoMemory;
    if (section) {
        const char* pixels = reinterpret_cast<const char*>(header) + pictures::DibPixelOffset(fields);
        HDC screen = GetDC(nullptr);
        const int rows = SetDIBits(screen, section, 0, UINT(height), pixels,
                                   reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
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
    BITMAPINFO format = pictures::PixelSectionInfo(info.bmWidth, info.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, source, 0, UINT(info.bmHeight), bits, &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) {
        DeleteObject(section);
        return nullptr;
    }
    return section;
}

// The picture on the open clipboard, read in this process.
HBITMAP ReadOpenClipboardBitmap(std::string* whyNot) {
    std::string why;
    HBITMAP pixels = nullptr;
    // The size is checked on the very block that is then read: under Wine every GetClipboardData carries
    // the whole block over. The format the source offered is read, as asking for the other would make the
    // system build one more full copy of the pixels first.
    const bool bitmapOffered = FirstPictureFormatOnOffer() == CF_BITMAP;
    HANDLE block = !bitmapOffered && IsClipboardFormatAvailable(CF_DIB) ? GetClipboardData(CF_DIB) : nullptr;
    if (block) pixels = SectionFromDib(block, why);
    if (!pixels && why.empty()) {
        if (IsClipboardFormatAvailable(CF_BITMAP)) {
            HBITMAP source = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
            BITMAP info;
            if (source && GetObject(source, sizeof(info), &info)) {
                why = pictures::TooLargeForPicture(std::uint64_t(info.bmWidth), std::uint64_t(info.bmHeight));
                if (why.empty() && !(pixels = SectionFromBitmap(source))) why = kNoMemory;
            }
        } else if (const auto png = BlockBytes(pictures::PngFormat())) {
            std::uint64_t width = 0, height = 0;
            const bool isPng = pictures::PngSize(*png, width, height);  // the codec is asked to read only a PNG
            why = pictures::PictureRefusal(width, height, isPng);
            if (why.empty() && !(pixels = gPictureHoldFails ? nullptr : pictures::DecodePng(*png)))
                why = gPictureHoldFails ? kNoMemory : "Not kept: the picture could not be decoded";
        }
    }
    if (whyNot) *whyNot = why;
    return pixels;
}

}  // namespace

void SetPictureHoldFailsForTesting(bool fails) { gPictureHoldFails = fails; }

HBITMAP ReadClipboardBitmap(HWND owner, PictureReader* reader, std::string* whyNot) {
    DWORD sequence = 0;
    {
        ClipboardSession session(owner);
        if (!session.open) return nullptr;
        if (!reader || !NeedsPictureReader()) return ReadOpenClipboardBitmap(whyNot);
        sequence = GetClipboardSequenceNumber();
    }
    ReaderResult result = reader->Read(sequence);
    if (!result.served) {
        ClipboardSession again(owner);
        return again.open ? ReadOpenClipboardBitmap(whyNot) : nullptr;
    }
    if (result.pixels && gPictureHoldFails) {
        DeleteObject(result.pixels);
        result = {true, nullptr, kNoMemory};
    }
    if (whyNot) *whyNot = result.why;
    return result.pixels;
}

}  // namespace clipboard
