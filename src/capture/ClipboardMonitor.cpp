#include "capture/ClipboardMonitor.h"

#include "capture/CaptureClip.h"

namespace capture {

namespace {
const UINT_PTR kRetryTimer = 0xC11B;
const UINT kRetryMs = 250;
const DWORD kRetryForMs = 10000;
// The window property that leads the procedure to its monitor.
const char kMonitorProperty[] = "ArdentiaClipboardMonitor";

ClipboardMonitor* MonitorOf(HWND window) { return static_cast<ClipboardMonitor*>(GetPropA(window, kMonitorProperty)); }
}  // namespace

ClipboardMonitor::~ClipboardMonitor() {
    if (attached_ && IsWindow(attached_)) Detach(attached_);
}

// Captures unless the clipboard still holds what the last capture left: a late notice about a change
// already handled is neither captured again nor passed round a chain that may now loop through us.
// A copy made while a capture runs is not announced again (the notices were suppressed), so it is
// captured right after, a few rounds at most: a program copying without pause gets coalesced.
void ClipboardMonitor::CaptureRounds(HWND window) {
    for (int round = 0; round < 3 && GetClipboardSequenceNumber() != handled_; ++round) {
        const DWORD left = CaptureClip(*this);
        if (left == kClipboardBusy) {
            if (!retrying_) {
                retrying_ = true;
                busySince_ = GetTickCount();
            }
            if (GetTickCount() - busySince_ < kRetryForMs) {
                SetTimer(window, kRetryTimer, kRetryMs, nullptr);
                return;
            }
            ReportClipboardHeld(*this);
            handled_ = GetClipboardSequenceNumber();
            break;
        }
        handled_ = left;
    }
    retrying_ = false;
    KillTimer(window, kRetryTimer);
}

bool ClipboardMonitor::CaptureAndPassOn(HWND window, WPARAM wParam, LPARAM lParam) {
    if (GetClipboardSequenceNumber() == handled_) return false;
    CaptureRounds(window);
    // The capture rejoins the chain, so the next viewer is read afresh.
    if (nextViewer_) SendMessageA(nextViewer_, WM_DRAWCLIPBOARD, wParam, lParam);
    return true;
}

void ClipboardMonitor::Attach(HWND window) {
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    // Saving the monitor's procedure as its own predecessor would make every message loop forever.
    if (current == WindowProc) return;
    SetPropA(window, kMonitorProperty, this);
    attached_ = window;
    previousWindowProc_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
}

void ClipboardMonitor::Detach(HWND window) {
    if (!previousWindowProc_ || window != attached_) return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc_));
    RemovePropA(window, kMonitorProperty);
    attached_ = nullptr;
    previousWindowProc_ = nullptr;
}

void ClipboardMonitor::JoinChain(HWND window) {
    // Whoever joins wants what is on the clipboard now, even if a capture left it there.
    handled_ = kNoSequence;
    Attach(window);
    nextViewer_ = SetClipboardViewer(window);
}

void ClipboardMonitor::LeaveChain(HWND window) {
    KillTimer(window, kRetryTimer);
    retrying_ = false;
    ChangeClipboardChain(window, nextViewer_);
    Detach(window);
}

LRESULT CALLBACK ClipboardMonitor::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ClipboardMonitor* monitor = MonitorOf(hwnd);
    const WNDPROC previous = monitor ? monitor->previousWindowProc_ : nullptr;
    const LRESULT result = previous ? CallWindowProcA(previous, hwnd, message, wParam, lParam)
                                    : DefWindowProcA(hwnd, message, wParam, lParam);
    if (!monitor) return result;
    if (message == WM_CHANGECBCHAIN) {
        if (reinterpret_cast<HWND>(wParam) == monitor->nextViewer_) monitor->nextViewer_ = reinterpret_cast<HWND>(lParam);
        if (monitor->nextViewer_) SendMessageA(monitor->nextViewer_, WM_CHANGECBCHAIN, wParam, lParam);
        return result;
    }
    const bool capturing = !monitor->captureSuppressed_ && monitor->managerOn_;
    if (message == WM_DRAWCLIPBOARD) {
        monitor->chainDelivered_ = GetClipboardSequenceNumber();
        if (capturing) monitor->CaptureAndPassOn(hwnd, wParam, lParam);
    }
    if (message == WM_TIMER && wParam == kRetryTimer) {
        KillTimer(hwnd, kRetryTimer);
        // The notice went on when it came; only the capture is owed.
        if (capturing && GetClipboardSequenceNumber() != monitor->handled_) monitor->CaptureRounds(hwnd);
    }
    return result;
}

void ClipboardMonitor::RepairChain(HWND window) {
    const HWND oldNext = nextViewer_;
    captureSuppressed_ = true;
    ChangeClipboardChain(window, oldNext);
    Attach(window);
    const HWND head = SetClipboardViewer(window);
    nextViewer_ = (head && !IsWindow(head)) ? oldNext : head;
    captureSuppressed_ = false;
    chainDelivered_ = GetClipboardSequenceNumber();
    CaptureAndPassOn(window, 0, 0);
}

}  // namespace capture
