// What a copy says of itself before it is read: the markers its program put beside it, and which program
// owns it. Win32.
#pragma once

#include <windows.h>

#include <string>

#include "clipboard/SecretMarkers.h"

namespace clipboard {

// The markers on offer now; window reads their values.
SecretMarkers MarkersOnOffer(HWND window);
// The file of the program that owns the clipboard, UTF-8 (a device path); "" when it cannot be told (an X
// program's copy through Wine has no Windows owner, nor does a copy whose window is gone).
std::string ClipboardOwnerImage();
// The file a process runs, the same way; "" when it cannot be told.
std::string ProcessImage(unsigned long process);

}  // namespace clipboard
