#include "common/Guarded.h"
#include "mainwindow/MainWindow.h"
#include "common/WindowDpi.h"
#include "shell/SystemLook.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "history/HistoryStore.h"
#include "capture/ChainWatchdog.h"
#include "capture/ClipboardMonitor.h"
#include "common/DoEvents.h"
#include "common/WindowClass.h"
#include "common/WindowText.h"
#include "common/units.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindowParts.h"

namespace mainwindow {

namespace {

bool gHourglass = false;

BOOL CALLBACK CloseOtherWindow(HWND other, LPARAM main) {
    if (other != reinterpret_cast<HWND>(main) && IsWindowVisible(other)) PostMessageA(other, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace


UINT ActivateMessage() {
    static const UINT message = RegisterWindowMessageA("Kestrovan.Ardentia.Activate");
    return message;
}

bool ActivateRunningInstance(WPARAM what) {
    HWND running = FindWindowA(kMainWindowClass, nullptr);
    if (!running) return false;
    // This process was just started by the user, so it may hand the foreground on.
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    return PostMessageA(running, ActivateMessage(), what, 0) != FALSE;
}

bool AnotherInstanceRuns() {
    static const bool existed = [] {
        CreateMutexA(nullptr, FALSE, "Kestrovan.Ardentia.SingleInstance");
        return GetLastError() == ERROR_ALREADY_EXISTS;
    }();
    return existed;
}

void SetHourglass(bool on) {
    gHourglass = on;
    SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

bool Hourglass() { return gHourglass; }

MainWindow::MainWindow() = default;

namespace {
MainWindow* gFailuresShownBy = nullptr;  // the window whose information line shows what threw
}  // namespace

MainWindow::~MainWindow() {
    if (gFailuresShownBy == this) common::FailureReporter() = nullptr;
    // Closing, not just destroying: the window must leave the viewer chain and take its icon along.
    if (hwnd_) SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    if (kindIcons_) ImageList_Destroy(kindIcons_);
    if (appIcon_) DestroyIcon(appIcon_);
    if (appIconSmall_) DestroyIcon(appIconSmall_);
    if (handCursor_) DestroyCursor(handCursor_);
    if (listCursor_) DestroyCursor(listCursor_);
}

int MainWindow::Px(double twips) const { return int(twips * dpi_ / units::kTwipsPerInch + (twips >= 0 ? 0.5 : -0.5)); }

bool MainWindow::Load(bool quitOnClose) {
    if (AnotherInstanceRuns()) return false;
    quitOnClose_ = quitOnClose;
    // What threw anywhere in the program is said on the information line of its one window.
    gFailuresShownBy = this;
    common::FailureReporter() = [](const std::string& what) {
        if (gFailuresShownBy) gFailuresShownBy->ReportRefusedClip("Not done: " + what);
    };
    if (!common::RegisterClassOnce(kMainWindowClass, WindowProc) || !common::RegisterClassOnce(kPanelClass, PanelProc))
        return false;
    // The window is made at the system's DPI; on a monitor of another scale it is told at once (WM_DPICHANGED).
    dpi_ = common::SystemDpi();

    const DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
    RECT frame = {0, 0, Px(kClientWidthTwips), Px(kClientHeightTwips)};
    AdjustWindowRect(&frame, style, FALSE);
    hwnd_ = CreateWindowExA(0, kMainWindowClass, kProductCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
    if (!hwnd_ || !CreateControls()) return false;
    StartUp();
    FollowSystemLook();  // the popup too, made at start-up
    RestorePlacement();
    LayOut();
    return true;
}

void MainWindow::Show() {
    ShowWindow(hwnd_, startMinimised_ ? SW_SHOWMINIMIZED : restoreMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    // The clips kept from the last run are shown as a selection would show them; the files skipped
    // are said once, in place of the newest clip's line.
    if (IsWindowVisible(hwnd_) && clipList_.Model().ListCount() > 0) ShowCurrentClip();
    if (!historyNote_.empty()) common::SetWindowTextUtf8(infoLine_, historyNote_);
    historyNote_.clear();
    if (IsWindowVisible(hwnd_)) UpdateWindow(hwnd_);
}

void MainWindow::MinimiseToTray() {
    // The icon first: without it a hidden window could never be brought back, so it stays minimised.
    trayIcon_.SetInTray(true);
    if (!trayIcon_.InTray()) return;
    ShowWindow(hwnd_, SW_HIDE);
    inTray_ = true;
    trayIcon_.ShowBalloon(kBalloonText, kProductCaption, 5, true);
}

void MainWindow::RestoreFromTray() {
    ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    inTray_ = false;
    // What happened while hidden is shown as a selection change would show it.
    ShowCurrentClip();
}

void MainWindow::BringToFront() {
    if (inTray_ || !IsWindowVisible(hwnd_) || IsIconic(hwnd_)) {
        RestoreFromTray();
        return;
    }
    SetForegroundWindow(hwnd_);
}

void MainWindow::ShutDown() {
    SavePlacement();
    if (hotkeyRegistered_) UnregisterHotKey(hwnd_, kPopupHotkeyId);
    popup_.Close();
    trayIcon_.EndBalloonWait();
    trayIcon_.SetInTray(false);
    watchdog_.Stop();
    ChangeClipboardChain(hwnd_, monitor_.NextViewer());
    monitor_.Detach(hwnd_);
    common::DoEvents();
    // Close whatever other window of the program is still open (an open message box among them).
    EnumThreadWindows(GetCurrentThreadId(), CloseOtherWindow, reinterpret_cast<LPARAM>(hwnd_));
}

bool MainWindow::OnSetCursor(HWND over) {
    if (gHourglass) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return true;
    }
    for (HWND button : {deleteSelected_, managerSwitch_, deleteAll_, saveResults_, browseFolder_}) {
        if (over == button && handCursor_) {
            SetCursor(handCursor_);
            return true;
        }
    }
    return false;  // every other control shows its own pointer
}

HBRUSH MainWindow::BrushFor(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it == brushes_.end()) it = brushes_.emplace(colour, gdi::Brush(CreateSolidBrush(colour))).first;
    return it->second.get();
}

void MainWindow::SetBackColour(HWND control, std::uint32_t ole) {
    backColours_[control] = ole;
    InvalidateRect(control, nullptr, TRUE);
}

// The work of opening happens on the press, before the edit control sees it.
LRESULT CALLBACK MainWindow::PreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    auto* form = reinterpret_cast<MainWindow*>(self);
    const int button = message == WM_LBUTTONDOWN   ? 1
                       : message == WM_RBUTTONDOWN ? 2
                       : message == WM_MBUTTONDOWN ? 4
                                                   : 0;
    if (button) common::Guarded<bool>([&] { return form->OnPreviewMouseDown(button), true; }, false);
    // The right button means "Open with" here; the edit control's own menu would follow it.
    if (message == WM_CONTEXTMENU) return 0;
    // A read-only preview has no use for Tab: let it move on to the next control.
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(hwnd, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, PreviewProc, 1);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return SendMessageA(root, message, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT all;
            GetClientRect(hwnd, &all);
            HBRUSH brush = reinterpret_cast<HBRUSH>(
                SendMessageA(root, WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(hwnd)));
            FillRect(reinterpret_cast<HDC>(wParam), &all, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self =
        common::WindowOwner<MainWindow>(hwnd, message, lParam, [&](MainWindow* owner) { owner->hwnd_ = hwnd; });
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return common::Guarded<LRESULT>([&] { return self->HandleMessage(message, wParam, lParam); }, 0);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT all;
            GetClientRect(hwnd_, &all);
            FillRect(reinterpret_cast<HDC>(wParam), &all, BrushFor(Resolve(formBackColour_)));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message, wParam,
                                  lParam);
        case common::kDpiChangedMessage:
            FollowDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            if (shell::LookChangeNotice(hwnd_, message, lParam)) FollowSystemLook();
            break;
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            if (reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT && OverSplitter()) {
                SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
                return TRUE;
            }
            // The list asks first and chooses its own pointer unless this window set one.
            if (reinterpret_cast<HWND>(wParam) == clipList_.picList()) return FALSE;
            break;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                if (!inTray_) MinimiseToTray();
                return 0;
            }
            restoreMaximised_ = wParam == SIZE_MAXIMIZED;
            LayOut();
            NoteFrame();
            return 0;
        case WM_MOVE:
            NoteFrame();
            return 0;
        case WM_TIMER:
            if (wParam == kCredentialTimer) ExpireCredentials();
            if (wParam == kSearchKeysTimer) MakeSearchKeysAhead();
            if (wParam != kPreviewTimer) break;
            FillPreview();
            return 0;
        case WM_GETMINMAXINFO:
            LimitTrackingSize(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (SplitterMouse(message, lParam)) return 0;
            break;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kIdDeleteSelected:
                    if (HIWORD(wParam) == BN_CLICKED) OnDeleteSelectedClicked();
                    return 0;
                case kIdManagerSwitch:
                    if (HIWORD(wParam) == BN_CLICKED) OnManagerSwitchClicked();
                    return 0;
                case kIdSettings:
                    if (HIWORD(wParam) == BN_CLICKED) OpenSettings();
                    return 0;
                case kIdDeleteAll:
                    if (HIWORD(wParam) == BN_CLICKED) OnDeleteAllClicked();
                    return 0;
                case kIdSaveResults:
                    if (HIWORD(wParam) == BN_CLICKED) OnSaveResultsClicked();
                    return 0;
                case kIdBrowseFolder:
                    if (HIWORD(wParam) == BN_CLICKED) OnBrowseFolderClicked();
                    return 0;
                case kIdStartWithWindows:
                    if (HIWORD(wParam) == BN_CLICKED) OnStartWithWindowsClicked();
                    return 0;
                case kIdStartInTray:
                    if (HIWORD(wParam) == BN_CLICKED) OnStartInTrayClicked();
                    return 0;
                case kIdCheckRemember:
                    if (HIWORD(wParam) == BN_CLICKED) OnRememberHistoryClicked();
                    return 0;
                case kIdOutputFolder:
                    if (HIWORD(wParam) == EN_CHANGE) OnOutputFolderChanged();
                    return 0;
            }
            break;
        case WM_CLOSE:
            ShutDown();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            history_.StopSync();
            history_.Close();  // its files stay for the next start
            clips_.SetHost(nullptr);
            clips_.Holders().Clear();
            clips_.Holders().onPictureReleasing = nullptr;
            clips_.Tags() = clips::ClipCollection();
            monitor_.SetManagerOn(false);
            if (quitOnClose_) PostQuitMessage(0);
            return 0;
    }
    if (message == history::kFolderListedMessage || message == history::kIndexBlockMessage) {
        // What another machine did, or the older clips of a long history, change what a search or the popup
        // shows.
        if (message == history::kIndexBlockMessage ? history_.ApplyIndexBlock(lParam)
                                                   : history_.ApplyFolderListing(lParam)) {
            // As after a capture: the empty list's words go, the rows paint, the line and the current clip
            // follow; a list that had none stands on the newest. Neither the clipboard nor the focus moves.
            auto& list = clipList_.Model();
            if (list.ListCount() > 0 && list.ListIndex() < 0)
                list.SetListIndex(list.ListCount() - 1);
            else
                ShowCurrentClip();
            InvalidateRect(clipList_.picList(), nullptr, TRUE);
            RefreshSearch();
            StartSearchKeysAhead();
            if (popup_.IsOpen()) popup_.Update(PopupItems(popup_.SpareItems()));
        }
        return 0;
    }
    if (message == shell::TaskbarCreatedMessage()) {
        trayIcon_.TaskbarCreated();
        return 0;
    }
    if (message == ActivateMessage()) {
        if (wParam == kActivatePopup) {
            OpenPopup();
            return 0;
        }
        BringToFront();
        if (wParam == kActivatePassphrase) SetFolderPassphrase();
        if (wParam == kActivateSettings) OpenSettings();
        return 0;
    }
    if (message == kStartFolderSync) {
        if (std::exchange(syncStartPosted_, false)) history_.StartSync(hwnd_);
        return 0;
    }
    if (message == kAskFolderKey) {
        AskFolderKey();
        return 0;
    }
    if (message == WM_SYSCOMMAND && OnWindowMenuCommand(UINT(wParam & 0xFFF0))) return 0;
    if (message == WM_HOTKEY) {
        OpenPopup();
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace mainwindow
