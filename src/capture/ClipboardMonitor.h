// The main window's place in the clipboard-viewer chain. The flags and the next-viewer handle live
// here, one of each for the program; join and leave keep the order the chain needs.
#pragma once

#include <windows.h>

namespace capture {

bool ManagerOn();
void SetManagerOn(bool on);
// While set, clipboard changes are neither captured nor passed on.
bool CaptureSuppressed();
void SetCaptureSuppressed(bool suppressed);
// Set while the program rewrites the clipboard itself; a capture starting meanwhile returns at once.
bool SelfWrite();
void SetSelfWrite(bool selfWrite);
HWND NextViewer();

// Puts ClipWindowProc in front of the window's own procedure; a second attach changes nothing.
void AttachMonitor(HWND window);
// Puts the saved procedure back; without one saved, leaves the window alone.
void DetachMonitor(HWND window);

// Attach, then SetClipboardViewer: the system sends the new viewer a change notice from inside that call.
void JoinChain(HWND window);
// ChangeClipboardChain with the stored next viewer, then detach.
void LeaveChain(HWND window);

LRESULT CALLBACK ClipWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The clipboard sequence number the chain last told us of, and the one the last capture left (after its
// own write, such as files offered again with their paths). A change notice for the handled number is not
// captured again.
DWORD ChainDeliveredSequence();
DWORD HandledSequence();
// The capture has dealt with the clipboard as it stands at this sequence number.
void MarkHandled(DWORD sequence);

// Puts the window back at the head of the chain when the chain ahead of it is broken: leaves properly
// first, so that a live viewer ahead relinks around it, and keeps the old next viewer when the head
// the system reports is gone. Then captures the change and passes it on, as a notice would have.
void RepairChain(HWND window);

}  // namespace capture
