// Turns the clipboard's contents into a clip: decides the kind, stores it, keeps 25, makes it current
// and writes it back. A step that fails is skipped and the capture goes on.
#pragma once

namespace capture {

void CaptureClip();

}  // namespace capture
