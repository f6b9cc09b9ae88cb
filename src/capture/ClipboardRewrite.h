// The capture's own clipboard writes: a copied file list becomes text, and a new clip goes back on the
// clipboard in the program's form while the main window is outside the viewer chain.
#pragma once

#include <windows.h>

namespace capture {

// Replaces a file list on the clipboard by its paths, each followed by CR LF.
void FileListToText(HWND owner);

// Writes the current clip back. Whatever fails in the write, the monitor is attached again and the
// window rejoins the chain, so the program never stays deaf to later copies. When another program has
// copied since the capture read the clipboard (its sequence number is no longer `readSequence`), the
// newer copy is left in place instead of being overwritten. Returns the sequence number the clipboard
// holds afterwards if the write-back went there, or readSequence when it was left alone.
DWORD RepostCurrentClip(DWORD readSequence);

}  // namespace capture
