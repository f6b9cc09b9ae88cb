#include "capture/ChainWatchdog.h"

#include "capture/ClipboardMonitor.h"
#include "common/WindowClass.h"

namespace capture {

namespace {

const char kClassName[] = "ArdentiaChainWatchdog";
const UINT kClipboardUpdate = 0x031D;  // WM_CLIPBOARDUPDATE
const UINT kCheckChain = WM_APP + 1;

using ListenerFn = BOOL(WINAPI*)(HWND);
HWND gWatchdog = nullptr;
HWND gMainWindow = nullptr;
unsigned gMessages = 0;

ListenerFn Listener(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<ListenerFn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// True when the chain has told us of this change, or it is one we handled (our own write: a put-back, files
// offered again).
bool Delivered(DWORD sequence) { return sequence == ChainDeliveredSequence() || sequence == HandledSequence(); }

void OnClipboardUpdate() {
    if (!ManagerOn() || CaptureSuppressed() || SelfWrite()) return;
    const DWORD sequence = GetClipboardSequenceNumber();
    if (Delivered(sequence)) return;
    const HWND head = GetClipboardViewer();
    // First in the chain, the notice comes straight to us, before or after this one.
    if (head == gMainWindow) return;
    // A live viewer ahead may still be passing it on: look again once the queue has been served.
    if (head && IsWindow(head)) {
        PostMessageA(gWatchdog, kCheckChain, sequence, 0);
        return;
    }
    RepairChain(gMainWindow);
}

void OnCheckChain(DWORD sequence) {
    if (!ManagerOn() || CaptureSuppressed() || SelfWrite()) return;
    // A newer change brings its own notices; this one arrived through the chain after all.
    if (GetClipboardSequenceNumber() != sequence || Delivered(sequence)) return;
    RepairChain(gMainWindow);
}

LRESULT CALLBACK WatchdogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kClipboardUpdate) {
        ++gMessages;
        OnClipboardUpdate();
        return 0;
    }
    if (message == kCheckChain) {
        ++gMessages;
        OnCheckChain(DWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

bool StartWatchdog(HWND mainWindow) {
    gMainWindow = mainWindow;
    if (gWatchdog) return true;
    const ListenerFn add = Listener("AddClipboardFormatListener");
    if (!add || !common::RegisterClassOnce(kClassName, WatchdogProc)) return false;
    gWatchdog = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    if (gWatchdog && add(gWatchdog)) return true;
    if (gWatchdog) DestroyWindow(gWatchdog);
    gWatchdog = nullptr;
    return false;
}

void StopWatchdog() {
    if (!gWatchdog) return;
    if (const ListenerFn remove = Listener("RemoveClipboardFormatListener")) remove(gWatchdog);
    DestroyWindow(gWatchdog);
    gWatchdog = nullptr;
}

bool WatchdogRunning() { return gWatchdog != nullptr; }
unsigned WatchdogMessageCount() { return gMessages; }

}  // namespace capture
