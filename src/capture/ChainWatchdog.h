// Keeps capturing when the viewer chain breaks ahead of the main window: a viewer that was killed
// without leaving, or one that does not pass notices on. A clipboard format listener hears of every
// change without the chain; when a change does not arrive through the chain as well, the chain is
// repaired and the change captured. No timer: it only wakes when the clipboard changes.
#pragma once

#include <windows.h>

namespace capture {

class ClipboardMonitor;

class ChainWatchdog {
public:
    explicit ChainWatchdog(ClipboardMonitor& monitor) : monitor_(monitor) {}
    ~ChainWatchdog() { Stop(); }
    ChainWatchdog(const ChainWatchdog&) = delete;
    ChainWatchdog& operator=(const ChainWatchdog&) = delete;

    // Starts listening for the main window (while the manager is on); false where the system has no
    // clipboard format listener, and then nothing else changes.
    bool Start(HWND mainWindow);
    void Stop();
    bool Running() const { return window_ != nullptr; }
    // Messages the watchdog has handled, for tests that check it sleeps while nothing changes.
    unsigned MessageCount() const { return messages_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool Delivered(DWORD sequence) const;
    void OnClipboardUpdate();
    void OnCheckChain(DWORD sequence);

    ClipboardMonitor& monitor_;
    HWND window_ = nullptr;
    HWND mainWindow_ = nullptr;
    unsigned messages_ = 0;
};

}  // namespace capture
