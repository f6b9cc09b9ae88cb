// The main window's place in the clipboard-viewer chain, and what the capture knows of the clipboard: whether
// the manager is on, whether a change is the program's own, which change was handled last and which copy was
// seen last, and the clips and history copies go to. Join and leave keep the order the chain needs. The main
// window owns one; a test makes its own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "clipboard/PictureReaderProcess.h"
#include "clips/CopyFingerprint.h"
#include "history/HistoryStore.h"

namespace capture {

class ClipboardMonitor {
public:
    // Copies become clips of the store's collection, written to the store's folder.
    explicit ClipboardMonitor(history::HistoryStore& history) : history_(history) {}
    ~ClipboardMonitor();  // leaves the window's procedure as it found it
    ClipboardMonitor(const ClipboardMonitor&) = delete;
    ClipboardMonitor& operator=(const ClipboardMonitor&) = delete;

    bool ManagerOn() const { return managerOn_; }
    void SetManagerOn(bool on) { managerOn_ = on; }
    // While set, clipboard changes are neither captured nor passed on.
    bool CaptureSuppressed() const { return captureSuppressed_; }
    void SetCaptureSuppressed(bool suppressed) { captureSuppressed_ = suppressed; }
    // Set while the program rewrites the clipboard itself; a capture starting meanwhile returns at once.
    bool SelfWrite() const { return selfWrite_; }
    void SetSelfWrite(bool selfWrite) { selfWrite_ = selfWrite; }
    HWND NextViewer() const { return nextViewer_; }
    // Copies whose clipboard owner is one of these programs are never captured (ParseIgnoredPrograms).
    const std::vector<std::string>& IgnoredPrograms() const { return ignoredPrograms_; }
    void SetIgnoredPrograms(std::vector<std::string> names) { ignoredPrograms_ = std::move(names); }
    // How long a copy that looks like a credential is kept ("Secret Seconds"); 0: it is not captured.
    int SecretSeconds() const { return secretSeconds_; }
    void SetSecretSeconds(int seconds) { secretSeconds_ = seconds; }

    // Puts the monitor's procedure in front of the window's own; a second attach changes nothing.
    void Attach(HWND window);
    // Puts the saved procedure back; without one saved, leaves the window alone.
    void Detach(HWND window);
    // Attach, then SetClipboardViewer: the system sends the new viewer a change notice from inside that call.
    void JoinChain(HWND window);
    // ChangeClipboardChain with the stored next viewer, then detach.
    void LeaveChain(HWND window);

    // The clipboard sequence number the chain last told us of, and the one the last capture left (after its
    // own write, such as files offered again with their paths). A change notice for the handled number is
    // not captured again.
    DWORD ChainDeliveredSequence() const { return chainDelivered_; }
    DWORD HandledSequence() const { return handled_; }
    // The capture has dealt with the clipboard as it stands at this sequence number.
    void MarkHandled(DWORD sequence) { handled_ = sequence; }

    // Puts the window back at the head of the chain when the chain ahead of it is broken: leaves properly
    // first, so that a live viewer ahead relinks around it, and keeps the old next viewer when the head
    // the system reports is gone. Then captures the change and passes it on, as a notice would have.
    void RepairChain(HWND window);

    // The copy seen last, with the newest clip of that moment: the same copy announced again adds no clip.
    bool SameAsLastSeen(const clips::Fingerprint& copy) const { return clips::SameCopy(copy, lastSeen_); }
    void RememberSeen(const clips::Fingerprint& seen) { lastSeen_ = seen; }
    void ForgetSeen() { lastSeen_ = {}; }

    // The reader processes pictures from other programs go through.
    clipboard::PictureReader& Pictures() { return pictures_; }
    history::HistoryStore& History() { return history_; }
    clips::Clips& Clips() { return history_.Clips(); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CaptureRounds(HWND window);
    bool CaptureAndPassOn(HWND window, WPARAM wParam, LPARAM lParam);

    static const DWORD kNoSequence = 0xFFFFFFFF;
    history::HistoryStore& history_;
    bool managerOn_ = false;
    bool captureSuppressed_ = false;
    bool selfWrite_ = false;
    HWND nextViewer_ = nullptr;
    HWND attached_ = nullptr;
    WNDPROC previousWindowProc_ = nullptr;
    DWORD chainDelivered_ = kNoSequence;
    DWORD handled_ = kNoSequence;
    // While another program holds the clipboard open, the capture is tried again on a timer, for 10 s.
    bool retrying_ = false;
    DWORD busySince_ = 0;
    clips::Fingerprint lastSeen_;
    std::vector<std::string> ignoredPrograms_;
    int secretSeconds_ = 60;
    clipboard::PictureReader pictures_;
};

}  // namespace capture
