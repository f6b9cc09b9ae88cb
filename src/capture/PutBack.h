// Using a clip again: it goes back on the clipboard with every format it kept, and becomes the newest
// clip (moved, with its tag and holder), as a fresh copy of it would.
#pragma once

namespace capture {

class ClipboardMonitor;

// False when there is no such clip or the clipboard could not be written (another program holds it).
// With plainTextOnly, only the clip's text is offered; a picture, which has no plain form, goes back whole.
bool PutClipBack(ClipboardMonitor& monitor, int position, bool plainTextOnly = false);

}  // namespace capture
