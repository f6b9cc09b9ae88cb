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

DWORD WriteOutsideChain(ClipboardMonitor& monitor, DWORD unchanged, const std::function<bool(HWND)>& write) {
    clips::CaptureHost* host = monitor.Clips().Host();
    if (!host) return unchanged;
    HWND window = host->HostWindow();
    monitor.SetSelfWrite(true);
    monitor.SetCaptureSuppressed(true);
    // With the manager off the window is not in the chain and stays out of it: off, its monitor neither
    // captures nor passes a notice on.
    const bool inChain = monitor.ManagerOn();
    if (inChain) monitor.LeaveChain(window);
    common::DoEvents();
    DWORD left = unchanged;
    try {
        if (write(window)) left = GetClipboardSequenceNumber();
    } catch (...) {
        // The write is lost; rejoining the chain below matters more.
    }
    if (inChain) monitor.JoinChain(window);
    common::DoEvents();
    monitor.SetSelfWrite(false);
    return left;
}

DWORD OfferFilesWithText(ClipboardMonitor& monitor, DWORD readSequence, const std::string& paths) {
    return WriteOutsideChain(monitor, readSequence, [&](HWND window) {
        return clipboard::OfferAgainWith(window, {clips::UnicodeTextFormat(paths)}, readSequence);
    });
}

}  // namespace capture
