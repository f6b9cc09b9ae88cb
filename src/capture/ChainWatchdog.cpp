#include "capture/ChainWatchdog.h"

#include "capture/ClipboardMonitor.h"
#include "common/WindowClass.h"

namespace capture {

namespace {

const char kClassName[] = "ArdentiaChainWatchdog";
const UINT kClipboardUpdate = 0x031D;  // WM_CLIPBOARDUPDATE
const UINT kCheckChain = WM_APP + 1;

using ListenerFn = BOOL(WINAPI*)(HWND);

ListenerFn Listener(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<ListenerFn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

// True when the chain has told us of this change, or it is one we handled (our own write: a put-back, files
// offered again).
bool ChainWatchdog::Delivered(DWORD sequence) const {
    return sequence == monitor_.ChainDeliveredSequence() || sequence == monitor_.HandledSequence();
}

void ChainWatchdog::OnClipboardUpdate() {
    if (!monitor_.ManagerOn() || monitor_.CaptureSuppressed() || monitor_.SelfWrite()) return;
    const DWORD sequence = GetClipboardSequenceNumber();
    if (Delivered(sequence)) return;
    const HWND head = GetClipboardViewer();
    // First in the chain, the notice comes straight to us, before or after this one.
    if (head == mainWindow_) return;
    // A live viewer ahead may still be passing it on: look again once the queue has been served.
    if (head && IsWindow(head)) {
        PostMessageA(window_, kCheckChain, sequence, 0);
        return;
    }
    monitor_.RepairChain(mainWindow_);
}

void ChainWatchdog::OnCheckChain(DWORD sequence) {
    if (!monitor_.ManagerOn() || monitor_.CaptureSuppressed() || monitor_.SelfWrite()) return;
    // A newer change brings its own notices; this one arrived through the chain after all.
    if (GetClipboardSequenceNumber() != sequence || Delivered(sequence)) return;
    monitor_.RepairChain(mainWindow_);
}

LRESULT CALLBACK ChainWatchdog::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* watchdog = reinterpret_cast<ChainWatchdog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (watchdog && message == kClipboardUpdate) {
        ++watchdog->messages_;
        watchdog->OnClipboardUpdate();
        return 0;
    }
    if (watchdog && message == kCheckChain) {
        ++watchdog->messages_;
        watchdog->OnCheckChain(DWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool ChainWatchdog::Start(HWND mainWindow) {
    mainWindow_ = mainWindow;
    if (window_) return true;
    const ListenerFn add = Listener("AddClipboardFormatListener");
    if (!add || !common::RegisterClassOnce(kClassName, WindowProc)) return false;
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (window_ && add(window_)) return true;
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    return false;
}

void ChainWatchdog::Stop() {
    if (!window_) return;
    if (const ListenerFn remove = Listener("RemoveClipboardFormatListener")) remove(window_);
    DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace capture
