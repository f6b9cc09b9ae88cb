// The program's own clipboard writes. The capture writes once: a copied file list keeps every format its
// source offered and gains its paths as text, so it pastes as files into a folder and as paths into an
// editor. Putting a clip back writes what the clip kept.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace capture {

class ClipboardMonitor;

// Runs `write` while the window is outside the viewer chain and marked as writing, so that the change
// is not taken for a new copy; then attaches the monitor again and rejoins the chain, whatever failed,
// when the manager is on (off, the window stays out of the chain).
// Returns the sequence number after the write, or `unchanged` when write returned false. Leaves
// captures suppressed: the caller ends that.
DWORD WriteOutsideChain(ClipboardMonitor& monitor, DWORD unchanged, const std::function<bool(HWND)>& write);

// Offers the file list again with `paths` added as Unicode text, while the window is outside the viewer
// chain so that the change is not taken for a new copy. Whatever fails, the monitor is attached again
// and the window rejoins the chain. A newer copy made since the capture read the clipboard (its sequence
// number is no longer `readSequence`) is left in place. Returns the sequence number the clipboard holds
// afterwards if the write went there, or readSequence when it was left alone.
DWORD OfferFilesWithText(ClipboardMonitor& monitor, DWORD readSequence, const std::string& paths);

}  // namespace capture
