// Turns the clipboard's contents into a clip: decides the kind, stores it, keeps 25, makes it current
// and writes it back. A step that fails is skipped and the capture goes on.
#pragma once

#include <windows.h>

namespace capture {

// Returns the clipboard sequence number the capture leaves behind: that of its own write-back, or that
// of the contents it read when it wrote nothing; a different number afterwards means a newer copy.
// kClipboardBusy when another program held the clipboard open throughout: nothing was read or stored.
DWORD CaptureClip();
const DWORD kClipboardBusy = 0xFFFFFFFE;

// Tells the user that a copy was lost to a program that kept the clipboard open.
void ReportClipboardHeld();

}  // namespace capture
