#include "shell/cSysTray.h"

#include "common/DoEvents.h"
#include "common/WindowClass.h"
#include "common/units.h"
#include "shell/mSysTray.h"

namespace shell {

namespace {

const char kClassName[] = "ArdentiaSysTray";
const int kControlTwips = 510;

ShellNotifyFn gShellNotify = Shell_NotifyIconA;

bool IsIcon(HICON icon) {
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return info.fIcon != FALSE;
}

}  // namespace

void SetShellNotifyForTesting(ShellNotifyFn fn) { gShellNotify = fn ? fn : Shell_NotifyIconA; }

cSysTray::cSysTray() : icon_(LoadIconA(nullptr, IDI_APPLICATION)) {}

cSysTray::~cSysTray() {
    *alive_ = false;
    if (inTray_) SetInTray(false);
    if (hwnd_) DestroyWindow(hwnd_);
}

bool cSysTray::Create(HWND parent, int x, int y) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!common::RegisterClassOnce(kClassName, DefWindowProcA)) return false;
    HDC screen = GetDC(nullptr);
    const int size = units::TwipsToPixels(kControlTwips, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    hwnd_ = CreateWindowExA(0, kClassName, "", parent ? WS_CHILD : WS_POPUP, x, y, size, size, parent, nullptr,
                            instance, nullptr);
    return hwnd_ != nullptr;
}

TrayRecord cSysTray::NewRecord() const {
    return TrayRecord(std::uint32_t(reinterpret_cast<std::uintptr_t>(hwnd_)), id_);
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool cSysTray::Notify(DWORD operation, TrayRecord& record) {
    // The record is the version-5.0 layout; the shell reads its size from the first field.
    return gShellNotify(operation, reinterpret_cast<PNOTIFYICONDATAA>(record.Bytes())) != FALSE;
}

bool cSysTray::AddIcon() {
    TrayRecord record = NewRecord();
    if (icon_) record.SetIcon(std::uint32_t(reinterpret_cast<std::uintptr_t>(icon_)));
    if (!tip_.empty()) record.SetTip(tip_);
    record.SetCallbackMessage(kTrayCallbackMessage);
    return Notify(NIM_ADD, record);
}

void cSysTray::TaskbarCreated() {
    if (inTray_ && hwnd_) iconAdded_ = AddIcon();
}

void cSysTray::SetTrayIcon(HICON icon) {
    if (!IsIcon(icon)) return;
    if (iconAdded_) {
        TrayRecord record = NewRecord();
        record.SetIcon(std::uint32_t(reinterpret_cast<std::uintptr_t>(icon)));
        Notify(NIM_MODIFY, record);
    }
    icon_ = icon;
}

void cSysTray::SetTrayTip(const std::string& tip) {
    if (iconAdded_) {
        TrayRecord record = NewRecord();
        record.SetTip(tip);
        Notify(NIM_MODIFY, record);
    }
    tip_ = tip;
}

void cSysTray::SetInTray(bool inTray) {
    if (inTray == inTray_) return;
    if (inTray && hwnd_) {
        AttachTrayProc(hwnd_, this);
        iconAdded_ = AddIcon();
        if (!iconAdded_) {
            // No icon, no way back from a hidden window: the caller must not hide it.
            DetachTrayProc(hwnd_);
            return;
        }
    } else if (!inTray) {
        balloonOpen_ = false;
        if (iconAdded_) {
            TrayRecord record = NewRecord();
            Notify(NIM_DELETE, record);
            DetachTrayProc(hwnd_);
            iconAdded_ = false;
        }
    }
    inTray_ = inTray;
}

void cSysTray::ShowBalloon(const std::string& tip, const std::string& title, std::int32_t showTimer, bool showOnce) {
    if (showOnce && balloonsShownOnce_ >= 1) return;
    TrayRecord record = NewRecord();
    record.SetInfo(title, tip, BalloonTimeoutMs(showTimer));
    Notify(NIM_MODIFY, record);
    balloonOpen_ = true;
    if (showOnce) ++balloonsShownOnce_;
    if (showTimer < 1) return;

    const std::shared_ptr<bool> alive = alive_;
    const DWORD start = GetTickCount();
    const DWORD limit = DWORD(showTimer) * 1000;
    while (*alive && balloonOpen_ && GetTickCount() - start < limit) {
        common::DoEvents();
        if (!*alive) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    if (!*alive || !balloonOpen_) return;
    TrayRecord hide = NewRecord();
    hide.SetInfo("", "", 0);
    Notify(NIM_MODIFY, hide);
}

void cSysTray::Callback(UINT shellMessage, UINT id) {
    const TrayDispatch dispatch = DispatchTrayNotice(shellMessage);
    const std::int32_t iconId = std::int32_t(id);
    if (dispatch.notice == TrayNotice::kBalloonClosed) {
        balloonOpen_ = false;
        return;
    }
    if (!events_) return;
    switch (dispatch.notice) {
        case TrayNotice::kMouseMove: events_->MouseMove(iconId); break;
        case TrayNotice::kMouseDown: events_->MouseDown(dispatch.button, iconId); break;
        case TrayNotice::kMouseUp: events_->MouseUp(dispatch.button, iconId); break;
        case TrayNotice::kMouseDblClick: events_->MouseDblClick(dispatch.button, iconId); break;
        default: break;
    }
}

}  // namespace shell
