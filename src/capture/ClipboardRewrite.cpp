#include "capture/ClipboardRewrite.h"

#include <functional>
#include <optional>

#include "capture/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "capture/DropFiles.h"
#include "capture/Clips.h"
#include "common/DoEvents.h"
#include "common/WindowText.h"

namespace capture {

namespace {

std::string NameToUtf8(const std::string& name, bool wide) {
    if (wide) return common::Narrow(reinterpret_cast<const wchar_t*>(name.data()), name.size() / 2);
    return common::FromAnsi(name.data(), name.size());
}

}  // namespace

std::string FileListText(const std::string& dropFiles) {
    const DropNames list = ParseDropFiles(dropFiles);
    std::string paths;
    for (const std::string& name : list.names) paths += NameToUtf8(name, list.wide) + "\r\n";
    return paths;
}

DWORD WriteOutsideChain(DWORD unchanged, const std::function<bool(HWND)>& write) {
    CaptureHost* host = Host();
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
        return OfferAgainWith(window, {UnicodeTextFormat(paths)}, readSequence);
    });
}

}  // namespace capture
