// Reading and writing the clipboard for the capture. Another program may hold the clipboard open for
// a moment, so opening is retried briefly; every read is bounded by the size of its memory block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clips/ClipFormats.h"

namespace clipboard {

// Up to 10 tries, 20 ms apart.
bool OpenClipboardRetrying(HWND owner);

// The clipboard opened (retrying) for a scope; LastOpenFailed tells whether it could be.
struct ClipboardSession {
    const bool open;
    explicit ClipboardSession(HWND owner);
    ~ClipboardSession();
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
};
// The block of a format on the open clipboard, copied; nothing when it is not there or cannot be locked.
std::optional<std::string> BlockBytes(UINT format);
std::optional<std::string> BlockBytes(HANDLE data);
UINT RichTextFormat();
// Whether the last of the reads and writes here found the clipboard held open by another program.
bool LastOpenFailed();

// The text on offer in UTF-8: CF_UNICODETEXT, or CF_TEXT in the ANSI code page where no Unicode text
// comes; cut at its NUL or at the end of its block. Nothing when no text can be read.
// A block over maxBytes is not read: blockBytes then says how large it was.
std::optional<std::string> ReadClipboardUnicodeText(HWND owner, std::uint64_t maxBytes, std::uint64_t& blockBytes);
// The text format the source itself offered (the first listed; the system lists what it converts to
// after it), or 0. Its block is what a size check may ask for without making the system convert.
UINT OfferedTextFormat(HWND owner);
// The picture format the source itself offered on the open clipboard (CF_BITMAP, CF_DIB or CF_DIBV5), or 0.
UINT FirstPictureFormatOnOffer();

// The raw bytes of a format, as large as its memory block; nothing when it cannot be read.
std::optional<std::string> ReadClipboardBytes(HWND owner, UINT format);
// The size of a format's memory block, without copying it.
std::optional<std::uint64_t> ClipboardDataSize(HWND owner, UINT format);
// In one opening of the clipboard: copies every format held in a memory block, empties it, offers
// those formats again byte for byte and then `added` (replacing a format of the same number). Formats
// that are GDI or metafile handles are not memory blocks and are not offered again. False when the
// clipboard cannot be opened, a format cannot be offered, or the clipboard no longer holds what was read
// (its sequence number is not `readSequence` once it is open): a newer copy is never touched.
bool OfferAgainWith(HWND owner, const clips::ClipFormats& added, DWORD readSequence);
// Those of `wanted` that are on offer and held in memory, with their bytes, in one opening.
clips::ClipFormats ReadFormats(HWND owner, const std::vector<UINT>& wanted);
// Empties the clipboard and offers `formats`, and a copy of `bitmap` when there is one. False when the
// clipboard cannot be opened or nothing could be offered.
bool WriteClipboard(HWND owner, const clips::ClipFormats& formats, HBITMAP bitmap);
UINT HtmlFormat();
UINT DropEffectFormat();

}  // namespace clipboard
