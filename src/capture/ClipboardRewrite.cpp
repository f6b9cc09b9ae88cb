#include "capture/ClipboardRewrite.h"

#include <functional>
#include <optional>

#include "clipboard/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "clipboard/DropFiles.h"
#include "clips/Clips.h"
#include "common/DoEvents.h"
#include "common/WindowText.h"

namespace capture {

DWORD WriteOutsideChain(DWORD unchanged, const std::function<bool(HWND)>& write) {
    clips::CaptureHost* host = clips::Host();
    if (!host) return unchanged;
    HWND window = host->HostWindow();
    SetSelfWrite(true);
    SetCaptureSuppressed(true);
    // With the manager off the window is not in the chain and stays out of it: off, its monitor neither
    // captures nor passes a notice on.
    const bool inChain = ManagerOn();
    if (inChain) LeaveChain(window);
    common::DoEvents();
    DWORD left = unchanged;
    try {
        if (write(window)) left = GetClipboardSequenceNumber();
    } catch (...) {
        // The write is lost; rejoining the chain below matters more.
    }
    if (inChain) JoinChain(window);
    common::DoEvents();
    SetSelfWrite(false);
    return left;
}

DWORD OfferFilesWithText(DWORD readSequence, const std::string& paths) {
    return WriteOutsideChain(readSequence, [&](HWND window) {
        return clipboard::OfferAgainWith(window, {clips::UnicodeTextFormat(paths)}, readSequence);
    });
}

}  // namespace capture
