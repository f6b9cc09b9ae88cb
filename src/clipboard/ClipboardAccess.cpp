#include "clipboard/ClipboardAccess.h"
#include "clips/ClipLimits.h"
#include "pictures/PngPicture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "common/WindowText.h"

namespace clipboard {

namespace {

bool gLastOpenFailed = false;

HBITMAP CopyBitmap(HBITMAP bitmap) {
    return bitmap ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

}  // namespace

ClipboardSession::ClipboardSession(HWND owner) : open(OpenClipboardRetrying(owner)) { gLastOpenFailed = !open; }

ClipboardSession::~ClipboardSession() {
    if (open) CloseClipboard();
}

std::optional<std::string> BlockBytes(HANDLE data) {
    if (!data) return std::nullopt;
    const SIZE_T size = GlobalSize(data);
    if (size == 0) return std::string();
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes) return std::nullopt;
    std::string copy(bytes, size);
    GlobalUnlock(data);
    return copy;
}

namespace {

// Converted straight from the locked block: megabytes are not copied once more on the capture's path.
std::optional<std::string> Utf8OfUnicodeHandle(HANDLE data) {
    if (!data) return std::nullopt;
    const SIZE_T units = GlobalSize(data) / sizeof(wchar_t);
    if (units == 0) return std::string();
    const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text) return std::nullopt;
    std::string utf8;
    try {
        utf8 = common::Narrow(text, wcsnlen(text, units));
    } catch (...) {
        GlobalUnlock(data);
        throw;
    }
    GlobalUnlock(data);
    return utf8;
}

}  // namespace

std::optional<std::string> BlockBytes(UINT format) { return BlockBytes(GetClipboardData(format)); }

namespace {

// Formats whose handle is not a memory block: the system owns or frees them differently.
bool HeldInMemory(UINT format) {
    switch (format) {
        case CF_BITMAP:
        case CF_METAFILEPICT:
        case CF_PALETTE:
        case CF_ENHMETAFILE:
        case CF_OWNERDISPLAY:
        case CF_DSPBITMAP:
        case CF_DSPMETAFILEPICT:
        case CF_DSPENHMETAFILE: return false;
        default: return !(format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST);
    }
}

HGLOBAL GlobalCopy(const std::string& bytes) {
    // A zero-byte movable block is refused by SetClipboardData; a fixed one is taken.
    HGLOBAL block = GlobalAlloc(bytes.empty() ? GMEM_FIXED : GMEM_MOVEABLE, bytes.size());
    if (!block || bytes.empty()) return block;
    void* to = GlobalLock(block);
    if (!to) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(to, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
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
    return BlockBytes(format);
}

namespace {

// Of these formats, the one the source offered: the first listed (the system lists those it converts to last).
UINT FirstOnOffer(std::initializer_list<UINT> among) {
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
        if (std::find(among.begin(), among.end(), format) != among.end()) return format;
    return 0;
}

UINT FirstTextFormatOnOffer() { return FirstOnOffer({CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT}); }

}  // namespace

UINT FirstPictureFormatOnOffer() { return FirstOnOffer({CF_BITMAP, CF_DIB, CF_DIBV5}); }

std::optional<std::string> ReadClipboardUnicodeText(HWND owner, std::uint64_t maxBytes, std::uint64_t& blockBytes) {
    ClipboardSession session(owner);
    blockBytes = 0;
    if (!session.open) return std::nullopt;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        // A copy counts as what its source offered: text offered as ANSI takes up to twice its bytes in
        // the system's Unicode conversion (one UTF-16 unit for each byte at most).
        const std::uint64_t perOfferedByte = FirstTextFormatOnOffer() == CF_UNICODETEXT ? 1 : 2;
        // Measured and read in one go: under Wine every GetClipboardData carries the whole block over.
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (data && GlobalSize(data) > maxBytes * perOfferedByte) {
            blockBytes = GlobalSize(data) / perOfferedByte;
            return std::nullopt;
        }
        if (auto text = Utf8OfUnicodeHandle(data)) return text;
    }
    auto block = BlockBytes(CF_TEXT);
    if (!block) return std::nullopt;
    return common::FromAnsi(block->data(), std::min(block->find('\0'), block->size()));
}

UINT OfferedTextFormat(HWND owner) {
    ClipboardSession session(owner);
    return session.open ? FirstTextFormatOnOffer() : 0;
}

std::optional<std::uint64_t> ClipboardDataSize(HWND owner, UINT format) {
    ClipboardSession session(owner);
    if (!session.open) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    return std::uint64_t(GlobalSize(data));
}

bool OfferAgainWith(HWND owner, const clips::ClipFormats& added, DWORD readSequence) {
    ClipboardSession session(owner);
    // Checked while the clipboard is held open: nobody can copy between the check and the write.
    if (!session.open || GetClipboardSequenceNumber() != readSequence) return false;
    clips::ClipFormats offered;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (clips::FindFormat(added, format) || !HeldInMemory(format)) continue;
        if (auto bytes = BlockBytes(format)) offered.push_back({format, std::move(*bytes)});
    }
    offered.insert(offered.end(), added.begin(), added.end());
    if (!EmptyClipboard()) return false;
    bool all = true;
    for (const clips::ClipFormat& item : offered) {
        HGLOBAL block = GlobalCopy(item.bytes);
        if (!block || !SetClipboardData(item.format, block)) {
            if (block) GlobalFree(block);
            all = false;
        }
    }
    return all;
}

clips::ClipFormats ReadFormats(HWND owner, const std::vector<UINT>& wanted) {
    clips::ClipFormats found;
    ClipboardSession session(owner);
    if (!session.open) return found;
    for (UINT format : wanted)
        if (HeldInMemory(format) && IsClipboardFormatAvailable(format))
            if (auto bytes = BlockBytes(format)) found.push_back({format, std::move(*bytes)});
    return found;
}

bool WriteClipboard(HWND owner, const clips::ClipFormats& formats, HBITMAP bitmap) {
    ClipboardSession session(owner);
    if (!session.open || !EmptyClipboard()) return false;
    int offered = 0;
    for (const clips::ClipFormat& item : formats) {
        HGLOBAL block = GlobalCopy(item.bytes);
        if (block && SetClipboardData(item.format, block))
            ++offered;
        else if (block)
            GlobalFree(block);
    }
    if (HBITMAP copy = CopyBitmap(bitmap)) {
        if (SetClipboardData(CF_BITMAP, copy))
            ++offered;
        else
            DeleteObject(copy);
    }
    return offered > 0;
}

UINT HtmlFormat() {
    static const UINT format = RegisterClipboardFormatA("HTML Format");
    return format;
}

UINT DropEffectFormat() {
    static const UINT format = RegisterClipboardFormatA("Preferred DropEffect");
    return format;
}

}  // namespace clipboard
