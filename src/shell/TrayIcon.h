// One icon in the notification area: its picture, tip and balloon, and the mouse on it turned into
// events for the host. The control has a small window of its own; the shell's notices reach it there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "shell/TrayRules.h"

namespace shell {

class TrayIconEvents {
public:
    virtual ~TrayIconEvents() = default;
    virtual void MouseMove(std::int32_t /*id*/) {}
    virtual void MouseDown(std::int16_t /*button*/, std::int32_t /*id*/) {}
    virtual void MouseUp(std::int16_t /*button*/, std::int32_t /*id*/) {}
    virtual void MouseDblClick(std::int16_t /*button*/, std::int32_t /*id*/) {}
};

// The message the shell broadcasts when it makes the taskbar anew.
UINT TaskbarCreatedMessage();

using ShellNotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
// Tests watch the shell requests through this; null restores the real Shell_NotifyIconW.
void SetShellNotifyForTesting(ShellNotifyFn fn);

const char kDefaultTrayTip[] = "Telnet Server";

class TrayIcon {
public:
    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The control's window, 510 by 510 twips, hidden: it only receives the shell's notices.
    bool Create(HWND parent, int x, int y);
    HWND hwnd() const { return hwnd_; }
    void SetEvents(TrayIconEvents* events) { events_ = events; }

    void SetIcon(HICON icon);  // ignored unless it is an icon
    const std::string& TrayTip() const { return tip_; }
    void SetTrayTip(const std::string& tip);
    bool InTray() const { return inTray_; }
    // Adding asks the shell; when the shell refuses, the control is not in the tray (InTray false).
    void SetInTray(bool inTray);
    // The taskbar was made anew (the shell restarted): an icon that was shown is added again.
    void TaskbarCreated();
    // Ends a balloon wait at once (the program is closing).
    void EndBalloonWait() { balloonOpen_ = false; }

    // Shows a balloon from the icon. With showTimer > 0 waits up to that many seconds while handling
    // messages, ending early when the shell reports the balloon closed; throws std::overflow_error when
    // the seconds do not fit the shell's milliseconds. showOnce balloons are shown once per control.
    void ShowBalloon(const std::string& tip, const std::string& title, std::int32_t showTimer = 0,
                     bool showOnce = false);
    bool BalloonOpen() const { return balloonOpen_; }

    // The shell's mouse or balloon notice for the icon (called by the tray window procedure).
    void Callback(UINT shellMessage, UINT id);
    // The owner window's own procedure, replaced while the icon is in the tray.
    WNDPROC PreviousWindowProc() const { return previousWindowProc_; }

private:
    bool Notify(DWORD operation, NOTIFYICONDATAW& record);
    bool AddIcon();
    // The system's own record, sized by the headers that build this program: every request names the
    // window and the icon with full-width handles.
    NOTIFYICONDATAW NewRecord() const;

    HWND hwnd_ = nullptr;
    WNDPROC previousWindowProc_ = nullptr;
    TrayIconEvents* events_ = nullptr;
    bool inTray_ = false;
    bool iconAdded_ = false;
    UINT id_ = 0;
    std::string tip_ = kDefaultTrayTip;
    HICON icon_ = nullptr;
    bool balloonOpen_ = false;
    std::int32_t balloonsShownOnce_ = 0;
    // Cleared on destruction, so a balloon wait that outlives the control stops touching it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace shell
