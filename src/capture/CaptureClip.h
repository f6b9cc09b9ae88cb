// Turns the clipboard's contents into a clip: decides the kind, reads it, stores it, keeps 25 and makes
// it current. The clipboard is left as its source put it; only a file list gains its paths as text.
#pragma once

#include <windows.h>

#include <optional>

namespace capture {

class ClipboardMonitor;

// Returns the clipboard sequence number the capture leaves behind: that of its own write (file lists), or that
// of the contents it read when it wrote nothing; a different number afterwards means a newer copy.
// kClipboardBusy when another program held the clipboard open throughout: nothing was read or stored.
// kLookAgain when nothing known was on offer: a later notice of the same number is looked at again.
DWORD CaptureClip(ClipboardMonitor& monitor);
const DWORD kClipboardBusy = 0xFFFFFFFE;
const DWORD kLookAgain = 0xFFFFFFFF;

// Takes note of what the clipboard holds now, read as a capture would read it: a later notice of the same
// contents adds no clip. Called before joining the chain (Wine imports the X side's copies late) and after
// each of the program's own writes (announced again, they are no new copy), given the sequence number the
// write left: a newer copy is then not taken note of.
void RememberClipboardAsSeen(ClipboardMonitor& monitor, std::optional<DWORD> written = std::nullopt);

// Tells the user that a copy was lost to a program that kept the clipboard open.
void ReportClipboardHeld(ClipboardMonitor& monitor);

}  // namespace capture
