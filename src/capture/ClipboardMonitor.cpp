#include "capture/ClipboardMonitor.h"

#include "capture/CaptureClip.h"

namespace capture {

namespace {
bool gManagerOn = false;
bool gCaptureSuppressed = false;
bool gSelfWrite = false;
HWND gNextViewer = nullptr;
WNDPROC gPreviousWindowProc = nullptr;
const DWORD kNoSequence = 0xFFFFFFFF;
DWORD gChainDelivered = kNoSequence;
DWORD gHandled = kNoSequence;
// While another program holds the clipboard open, the capture is tried again on a timer, for 10 s.
const UINT_PTR kRetryTimer = 0xC11B;
const UINT kRetryMs = 250;
const DWORD kRetryForMs = 10000;
bool gRetrying = false;
DWORD gBusySince = 0;

// Captures unless the clipboard still holds what the last capture left: a late notice about a change
// already handled is neither captured again nor passed round a chain that may now loop through us.
// A copy made while a capture runs is not announced again (the notices were suppressed), so it is
// captured right after, a few rounds at most: a program copying without pause gets coalesced.
void CaptureRounds(HWND window) {
    for (int round = 0; round < 3 && GetClipboardSequenceNumber() != gHandled; ++round) {
        const DWORD left = CaptureClip();
        if (left == kClipboardBusy) {
            if (!gRetrying) {
                gRetrying = true;
                gBusySince = GetTickCount();
            }
            if (GetTickCount() - gBusySince < kRetryForMs) {
                SetTimer(window, kRetryTimer, kRetryMs, nullptr);
                return;
            }
            ReportClipboardHeld();
            gHandled = GetClipboardSequenceNumber();
            break;
        }
        gHandled = left;
    }
    gRetrying = false;
    KillTimer(window, kRetryTimer);
}

bool CaptureAndPassOn(HWND window, WPARAM wParam, LPARAM lParam) {
    if (GetClipboardSequenceNumber() == gHandled) return false;
    CaptureRounds(window);
    // The capture rejoins the chain, so the next viewer is read afresh.
    if (gNextViewer) SendMessageA(gNextViewer, WM_DRAWCLIPBOARD, wParam, lParam);
    return true;
}
}  // namespace

bool ManagerOn() { return gManagerOn; }
void SetManagerOn(bool on) { gManagerOn = on; }
bool CaptureSuppressed() { return gCaptureSuppressed; }
void SetCaptureSuppressed(bool suppressed) { gCaptureSuppressed = suppressed; }
bool SelfWrite() { return gSelfWrite; }
void SetSelfWrite(bool selfWrite) { gSelfWrite = selfWrite; }
HWND NextViewer() { return gNextViewer; }

void AttachMonitor(HWND window) {
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    // Saving ClipWindowProc as its own predecessor would make every message loop forever.
    if (current == ClipWindowProc) return;
    gPreviousWindowProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClipWindowProc)));
}

void DetachMonitor(HWND window) {
    if (!gPreviousWindowProc) return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gPreviousWindowProc));
}

void JoinChain(HWND window) {
    // Whoever joins wants what is on the clipboard now, even if a capture left it there.
    gHandled = kNoSequence;
    AttachMonitor(window);
    gNextViewer = SetClipboardViewer(window);
}

void LeaveChain(HWND window) {
    KillTimer(window, kRetryTimer);
    gRetrying = false;
    ChangeClipboardChain(window, gNextViewer);
    DetachMonitor(window);
}

LRESULT CALLBACK ClipWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = gPreviousWindowProc ? CallWindowProcA(gPreviousWindowProc, hwnd, message, wParam, lParam)
                                               : DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_CHANGECBCHAIN) {
        if (reinterpret_cast<HWND>(wParam) == gNextViewer) gNextViewer = reinterpret_cast<HWND>(lParam);
        if (gNextViewer) SendMessageA(gNextViewer, WM_CHANGECBCHAIN, wParam, lParam);
        return result;
    }
    if (message == WM_DRAWCLIPBOARD) {
        gChainDelivered = GetClipboardSequenceNumber();
        if (!gCaptureSuppressed && gManagerOn) CaptureAndPassOn(hwnd, wParam, lParam);
    }
    if (message == WM_TIMER && wParam == kRetryTimer) {
        KillTimer(hwnd, kRetryTimer);
        // The notice went on when it came; only the capture is owed.
        if (!gCaptureSuppressed && gManagerOn && GetClipboardSequenceNumber() != gHandled) CaptureRounds(hwnd);
    }
    return result;
}

DWORD ChainDeliveredSequence() { return gChainDelivered; }
DWORD HandledSequence() { return gHandled; }
void MarkHandled(DWORD sequence) { gHandled = sequence; }

void RepairChain(HWND window) {
    const HWND oldNext = gNextViewer;
    gCaptureSuppressed = true;
    ChangeClipboardChain(window, oldNext);
    AttachMonitor(window);
    const HWND head = SetClipboardViewer(window);
    gNextViewer = (head && !IsWindow(head)) ? oldNext : head;
    gCaptureSuppressed = false;
    gChainDelivered = GetClipboardSequenceNumber();
    CaptureAndPassOn(window, 0, 0);
}

}  // namespace capture
