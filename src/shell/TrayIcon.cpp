#include "shell/TrayIcon.h"

#include <algorithm>

#include "common/DoEvents.h"
#include "common/WindowClass.h"
#include "common/units.h"
#include "shell/TrayIconProc.h"

namespace shell {

namespace {

const char kClassName[] = "ArdentiaSysTray";
const int kControlTwips = 510;

ShellNotifyFn gShellNotify = Shell_NotifyIconW;

template <std::size_t N>
void PutText(wchar_t (&field)[N], const std::string& utf8) {
    const std::u16string text = TrayFieldText(utf8, N);
    std::copy(text.begin(), text.end(), field);
    field[text.size()] = L'\0';
}

bool IsIcon(HICON icon) {
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return info.fIcon != FALSE;
}

// Balloon title and text, the timeout in milliseconds; no balloon icon is asked for.
void SetBalloon(NOTIFYICONDATAW& record, const std::string& title, const std::string& text, UINT timeoutMs) {
    record.uFlags |= NIF_INFO;
    PutText(record.szInfoTitle, title);
    PutText(record.szInfo, text);
    record.uTimeout = timeoutMs;
    record.dwInfoFlags = 0;
}

}  // namespace

void SetShellNotifyForTesting(ShellNotifyFn fn) { gShellNotify = fn ? fn : Shell_NotifyIconW; }

TrayIcon::TrayIcon() : icon_(LoadIconA(nullptr, IDI_APPLICATION)) {}

TrayIcon::~TrayIcon() {
    *alive_ = false;
    if (inTray_) SetInTray(false);
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TrayIcon::Create(HWND parent, int x, int y) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!common::RegisterClassOnce(kClassName, DefWindowProcA)) return false;
    HDC screen = GetDC(nullptr);
    const int size = units::TwipsToPixels(kControlTwips, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    hwnd_ = CreateWindowExA(0, kClassName, "", parent ? WS_CHILD : WS_POPUP, x, y, size, size, parent, nullptr,
                            instance, nullptr);
    return hwnd_ != nullptr;
}

NOTIFYICONDATAW TrayIcon::NewRecord() const {
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof(record);
    record.hWnd = hwnd_;
    record.uID = id_;
    return record;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool TrayIcon::Notify(DWORD operation, NOTIFYICONDATAW& record) { return gShellNotify(operation, &record) != FALSE; }

bool TrayIcon::AddIcon() {
    NOTIFYICONDATAW record = NewRecord();
    record.uFlags = NIF_MESSAGE;
    record.uCallbackMessage = kTrayCallbackMessage;
    if (icon_) {
        record.uFlags |= NIF_ICON;
        record.hIcon = icon_;
    }
    if (!tip_.empty()) {
        record.uFlags |= NIF_TIP;
        PutText(record.szTip, tip_);
    }
    return Notify(NIM_ADD, record);
}

void TrayIcon::TaskbarCreated() {
    if (inTray_ && hwnd_) iconAdded_ = AddIcon();
}

void TrayIcon::SetIcon(HICON icon) {
    if (!IsIcon(icon)) return;
    if (iconAdded_) {
        NOTIFYICONDATAW record = NewRecord();
        record.uFlags = NIF_ICON;
        record.hIcon = icon;
        Notify(NIM_MODIFY, record);
    }
    icon_ = icon;
}

void TrayIcon::SetTrayTip(const std::string& tip) {
    if (iconAdded_) {
        NOTIFYICONDATAW record = NewRecord();
        record.uFlags = NIF_TIP;
        PutText(record.szTip, tip);
        Notify(NIM_MODIFY, record);
    }
    tip_ = tip;
}

void TrayIcon::SetInTray(bool inTray) {
    if (inTray == inTray_) return;
    if (inTray && hwnd_) {
        AttachTrayProc(hwnd_, this, previousWindowProc_);
        iconAdded_ = AddIcon();
        if (!iconAdded_) {
            // No icon, no way back from a hidden window: the caller must not hide it.
            DetachTrayProc(hwnd_, previousWindowProc_);
            return;
        }
    } else if (!inTray) {
        balloonOpen_ = false;
        if (iconAdded_) {
            NOTIFYICONDATAW record = NewRecord();
            Notify(NIM_DELETE, record);
            DetachTrayProc(hwnd_, previousWindowProc_);
            iconAdded_ = false;
        }
    }
    inTray_ = inTray;
}

void TrayIcon::ShowBalloon(const std::string& tip, const std::string& title, std::int32_t showTimer, bool showOnce) {
    if (showOnce && balloonsShownOnce_ >= 1) return;
    NOTIFYICONDATAW record = NewRecord();
    SetBalloon(record, title, tip, BalloonTimeoutMs(showTimer));
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
    NOTIFYICONDATAW hide = NewRecord();
    SetBalloon(hide, "", "", 0);
    Notify(NIM_MODIFY, hide);
}

void TrayIcon::Callback(UINT shellMessage, UINT id) {
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
