// Reading and writing the clipboard for the capture. Another program may hold the clipboard open for
// a moment, so opening is retried briefly; every read is bounded by the size of its memory block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace capture {

// Up to 10 tries, 20 ms apart.
bool OpenClipboardRetrying(HWND owner);
UINT RichTextFormat();
// Whether the last of the reads and writes here found the clipboard held open by another program.
bool LastOpenFailed();

// The text of a text-like format (CF_TEXT, rich text), cut at its NUL or at the end of its block;
// nothing when the clipboard cannot be opened or does not offer the format.
std::optional<std::string> ReadClipboardText(HWND owner, UINT format);
// The raw bytes of a format, as large as its memory block; nothing when it cannot be read.
std::optional<std::string> ReadClipboardBytes(HWND owner, UINT format);
// The size of a format's memory block, without copying it.
std::optional<std::uint64_t> ClipboardDataSize(HWND owner, UINT format);
// The pixel size of the picture on offer, read from the device-independent bitmap's header when there is
// one (so that no bitmap is made just to be measured).
bool ClipboardPictureSize(HWND owner, std::uint64_t& width, std::uint64_t& height, bool& complete);
// A copy of the bitmap on offer (the system makes one from a device-independent bitmap), or null.
HBITMAP ReadClipboardBitmap(HWND owner);

// Each empties the clipboard and puts one item on it.
bool WriteClipboardText(HWND owner, const std::string& text);
bool WriteClipboardBitmap(HWND owner, HBITMAP bitmap);  // a copy; the caller keeps its bitmap
bool EmptyTheClipboard(HWND owner);

}  // namespace capture
