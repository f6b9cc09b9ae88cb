#include "mainwindow/Form1.h"

#include <stdexcept>
#include <vector>

#include "capture/ChainWatchdog.h"
#include "capture/CaptureClip.h"
#include "capture/ClipboardMonitor.h"
#include "capture/ClipLimits.h"
#include "capture/HistoryBudget.h"
#include "common/DoEvents.h"
#include "common/PropertyBag.h"
#include "common/WindowClass.h"
#include "common/WindowText.h"
#include "common/units.h"
#include "mainwindow/ClipKindIcons.h"
#include "mainwindow/ErrorReport.h"
#include "shell/PathHelpers.h"
#include "shell/SettingsStore.h"

namespace mainwindow {

namespace {

const char kClassName[] = "ArdentiaForm1";
const char kPanelClass[] = "ArdentiaPanel";
const char kHandCursorFile[] = "\\HAND-M.CUR";
const std::uint32_t kWhite = 0x00FFFFFF;
const std::uint32_t kWindowColour = 0x80000005;
const char kPreviewTip[] = " Left Click to Open - Right Click to Open with... ";
const char kEmptyListText[] = "Clipboard is empty.\r\nCopy or cut to collect items.";
const char kBalloonText[] =
    "has been minimized to the system tray.\r\nClick on the blue 'K' icon (K for Kestrovan) to bring the software back.";
// The clip list's stored settings; the labels start right of the 16-pixel kind icons.
const char kClipList1Properties[] = "Font=Arial;9;700;0;0;0\nItemHeight=15\nItemTextLeft=20\n";
const int kClientWidthTwips = 8040;
const int kClientHeightTwips = 7305;
// The holders sit right of the client area in the design; ours are hidden and need no place.

enum ControlId {
    kIdPushButton1 = 101,
    kIdPushButton2,
    kIdPushButton3,
    kIdPushButton5,
    kIdPushButton7,
    kIdCheck4,
    kIdCheck8,
    kIdText2,
    kIdText1,
    kIdClipList,
};

bool gHourglass = false;

void SetText(HWND control, const std::string& text) { common::SetWindowTextUtf8(control, text); }

BOOL CALLBACK CloseOtherWindow(HWND other, LPARAM main) {
    if (other != reinterpret_cast<HWND>(main) && IsWindowVisible(other)) PostMessageA(other, WM_CLOSE, 0, 0);
    return TRUE;
}

// The program's own icon resource; a host without it (a test program) gets the same icon drawn.
HICON LoadAppIcon(int size) {
    if (HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)))
        return icon;
    return CreateAppIcon(size);
}


}  // namespace

UINT ActivateMessage() {
    static const UINT message = RegisterWindowMessageA("Kestrovan.Ardentia.Activate");
    return message;
}

bool ActivateRunningInstance(WPARAM what) {
    HWND running = FindWindowA(kClassName, nullptr);
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

Form1::Form1() = default;

Form1::~Form1() {
    // Closing, not just destroying: the window must leave the viewer chain and take its icon along.
    if (hwnd_) SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    if (imageList1_) ImageList_Destroy(imageList1_);
    if (appIcon_) DestroyIcon(appIcon_);
    if (appIconSmall_) DestroyIcon(appIconSmall_);
    if (handCursor_) DestroyCursor(handCursor_);
    if (listCursor_) DestroyCursor(listCursor_);
}

int Form1::Px(double twips) const { return int(twips * dpi_ / units::kTwipsPerInch + (twips >= 0 ? 0.5 : -0.5)); }

bool Form1::Load(bool quitOnClose) {
    if (AnotherInstanceRuns()) return false;
    quitOnClose_ = quitOnClose;
    if (!common::RegisterClassOnce(kClassName, WindowProc) || !common::RegisterClassOnce(kPanelClass, PanelProc))
        return false;
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame = {0, 0, Px(kClientWidthTwips), Px(kClientHeightTwips)};
    AdjustWindowRect(&frame, style, FALSE);
    hwnd_ = CreateWindowExA(0, kClassName, kProductCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
    if (!hwnd_ || !CreateControls()) return false;
    Form_Load();
    return true;
}

void Form1::Show() {
    ShowWindow(hwnd_, startMinimised_ ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    if (IsWindowVisible(hwnd_)) UpdateWindow(hwnd_);
}

HWND Form1::Child(const char* cls, const char* text, DWORD style, HWND parent, int id, int left, int top, int width,
                  int height, std::uint32_t backColour) {
    // Unicode windows, so that the preview, the information line and the folder box hold every character.
    HWND control = CreateWindowExW(0, common::Widen(cls).c_str(), common::Widen(text).c_str(),
                                   WS_CHILD | WS_VISIBLE | style, Px(left), Px(top), Px(width), Px(height), parent,
                                   reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    if (control) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (backColour) SetBackColour(control, backColour);
    }
    return control;
}

// Panels are control parents, so that Tab walks into the controls they hold.
HWND Form1::Panel(HWND parent, int left, int top, int width, int height, std::uint32_t backColour) {
    HWND panel = Child(kPanelClass, "", WS_CLIPSIBLINGS, parent, 0, left, top, width, height, backColour);
    SetWindowLongA(panel, GWL_EXSTYLE, GetWindowLongA(panel, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    return panel;
}

// A frame is a panel (so that its controls report to this window) with a group box drawn in it.
HWND Form1::Frame(const char* caption, int left, int top, int width, int height) {
    HWND panel = Panel(hwnd_, left, top, width, height, kWhite);
    Child("BUTTON", caption, BS_GROUPBOX, panel, 0, 0, 0, width, height, kWhite);
    return panel;
}

void Form1::AddTooltip(HWND tool, const char* text) {
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text);
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

bool Form1::CreateControls() {
    const common::FontSpec ambient;
    LOGFONTA face = {};
    face.lfHeight = -MulDiv(int(ambient.points), dpi_, 72);
    lstrcpynA(face.lfFaceName, ambient.name.c_str(), LF_FACESIZE);
    font_ = gdi::Font(CreateFontIndirectA(&face));

    pushButton2_ = Child("BUTTON", kManagerOnCaption, BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdPushButton2, 120, 120, 7800, 405);
    frame1_ = Frame("Startup Options", 120, 570, 7800, 735);
    check4_ = Child("BUTTON", "Load this software on Windows startup", BS_AUTOCHECKBOX | WS_TABSTOP, frame1_, kIdCheck4,
                    240, 300, 3930, 285, kWhite);
    check8_ = Child("BUTTON", "Start in system tray", BS_AUTOCHECKBOX | WS_TABSTOP, frame1_, kIdCheck8, 4200, 300, 1980,
                    285, kWhite);

    if (!ucClipList1_.Create(hwnd_, kIdClipList, Px(120), Px(1440), Px(2535), Px(3435))) return false;
    ucClipList1_.ReadProperties(common::PropertyBag::Parse(kClipList1Properties), common::FontSpec());
    SetWindowLongA(ucClipList1_.hwnd(), GWL_STYLE,
                   GetWindowLongA(ucClipList1_.hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS | WS_TABSTOP);
    ucClipList1_.SetEvents(this);
    picClipLabel_ = Panel(hwnd_, 180, 1650, 2355, 1905, kWhite);
    lblClipEmpty_ = Child("STATIC", "", SS_CENTER | SS_NOPREFIX, picClipLabel_, 0, 0, 120, 2235, 435, kWhite);
    SetWindowPos(picClipLabel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    picture3_ = Panel(hwnd_, 2760, 1440, 5160, 3435, shell::kSkinBackground);
    text1_ = Child("EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, picture3_, kIdText1,
                   0, 0, 5055, 3435, kWhite);
    picture1_ = Panel(picture3_, 65, 45, 4995, 3345, shell::kSkinBackground);
    ShowWindow(picture1_, SW_HIDE);
    if (!image1_.Create(picture1_, Px(135), Px(225), Px(2190), Px(1485))) return false;

    lblInfo_ = Child("STATIC", "Nothing on Clipboard", SS_LEFT | SS_NOPREFIX, hwnd_, 0, 120, 5010, 7800, 255,
                     shell::kSkinBackground);
    pushButton1_ = Child("BUTTON", "Delete Selected", BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdPushButton1, 120, 5390, 3840, 405);
    pushButton3_ = Child("BUTTON", "Delete All", BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdPushButton3, 4080, 5390, 3840, 405);
    frame2_ = Frame("Save Results To This Folder", 120, 5850, 7800, 810);
    text2_ = Child("EDIT", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, frame2_, kIdText2, 240, 300, 6540, 345,
                   kWindowColour);
    pushButton7_ = Child("BUTTON", "...", BS_PUSHBUTTON | WS_TABSTOP, frame2_, kIdPushButton7, 6840, 300, 720, 345);
    pushButton5_ =
        Child("BUTTON", "Save Results As Text / Image", BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdPushButton5, 120, 6780, 7800, 405);

    tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowSubclass(text1_, Text1Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    image1_.onPress = [this](int button) { Image1_MouseDown(button); };
    AddTooltip(text1_, kPreviewTip);
    AddTooltip(image1_.hwnd(), kPreviewTip);

    if (!capture::Holders().Init(hwnd_)) return false;

    // The preview draws a holder's bitmap: it lets go before the holder deletes it.
    capture::Holders().onPictureReleasing = [this](HBITMAP picture) {
        if (image1_.Picture() == picture) image1_.SetPicture(nullptr);
    };
    if (!cSysTray1_.Create(hwnd_, 0, 0)) return false;
    cSysTray1_.SetEvents(this);
    capture::SetCaptureHost(this);
    return pushButton1_ && pushButton2_ && pushButton3_ && pushButton5_ && pushButton7_ && check4_ && check8_ &&
           text1_ && text2_ && lblInfo_ && lblClipEmpty_;
}

void Form1::Form_Load() {
    ErrorReport step(hwnd_, "Form_Load");
    const std::string cursorFile = shell::ProgramFolder() + kHandCursorFile;
    step(2, [&] { SkinStep(); });
    step(3, [&] { loading_ = true; });
    step(4, [&] {
        SetText(hwnd_, kProductCaption);
        appIcon_ = LoadAppIcon(GetSystemMetrics(SM_CXICON));
        appIconSmall_ = LoadAppIcon(GetSystemMetrics(SM_CXSMICON));
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIconSmall_));
    });
    step(5, [&] { shell::SetApplicationTitle(); });
    step(6, [&] {
        if (shell::FileExists(cursorFile)) handCursor_ = LoadCursorFromFileW(common::Widen(cursorFile).c_str());
    });
    step(7, [&] {
        imageList1_ = CreateClipKindIcons();
        ucClipList1_.SetImageList(imageList1_);
    });
    step(8, [&] {
        listCursor_ = LoadCursorFromFileW(common::Widen(cursorFile).c_str());
        if (!listCursor_) throw std::runtime_error("File not found: '" + cursorFile + "'");
        ucClipList1_.SetMouseIcon(listCursor_);
    });
    step(9, [&] { SetText(lblClipEmpty_, kEmptyListText); });
    step(10, [&] {
        capture::SetHistoryBudget(capture::HistoryBudgetFromSetting(shell::GetSetting(shell::kKeyHistoryBudget, "")));
        const std::string value = shell::GetSetting(shell::kKeyClipboardSwitch, shell::kOff);
        if (value == shell::kOff) capture::SetManagerOn(false);
        if (value == shell::kOn) capture::SetManagerOn(true);
    });
    step(11, [&] {
        if (capture::ManagerOn()) {
            capture::SetCaptureSuppressed(true);
            capture::RememberClipboardAsSeen();
            capture::JoinChain(hwnd_);
            capture::StartWatchdog(hwnd_);
            SetText(pushButton2_, kManagerOffCaption);
        } else {
            SetText(pushButton2_, kManagerOnCaption);
        }
    });
    step(12, [&] { capture::SetCaptureSuppressed(false); });
    step(13, [&] {
        cSysTray1_.SetTrayTip(kProductCaption);
        cSysTray1_.SetTrayIcon(appIconSmall_);
        cSysTray1_.SetInTray(false);
    });
    step(14, [&] {
        const bool on = shell::IsOn(shell::GetSetting(shell::kKeyWindowsStartup, shell::kOff));
        SendMessageA(check4_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        if (on) Check4_Click();  // the loading guard keeps the start-up entry as it is
    });
    step(15, [&] {
        const bool on = shell::IsOn(shell::GetSetting(shell::kKeyMinimized, shell::kOff));
        SendMessageA(check8_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        if (on) Check8_Click();
    });
    step(16, [&] { startMinimised_ = common::IsTicked(check8_); });
    step(17, [&] { loading_ = false; });
    step(18, [&] { SetBackColour(lblInfo_, kWhite); });
    step(19, [&] { SetText(text2_, shell::GetSetting(shell::kKeyOutputFolder, shell::DefaultOutputFolder())); });
    step(20, [&] { RegisterPopupHotkey(); });
}

void Form1::SkinStep() {
    const std::string path = shell::SkinFilePath(shell::ProgramFolder());
    std::vector<shell::SkinnedControl> controls = {{shell::ControlKind::kWindow, &formBackColour_}};
    const std::pair<HWND, shell::ControlKind> kinds[] = {
        {lblInfo_, shell::ControlKind::kLabel},       {lblClipEmpty_, shell::ControlKind::kLabel},
        {check4_, shell::ControlKind::kCheckBox},     {check8_, shell::ControlKind::kCheckBox},
        {frame1_, shell::ControlKind::kFrame},        {frame2_, shell::ControlKind::kFrame},
        {text1_, shell::ControlKind::kTextBox},       {text2_, shell::ControlKind::kTextBox},
        {picClipLabel_, shell::ControlKind::kPicture}, {picture3_, shell::ControlKind::kPicture},
        {picture1_, shell::ControlKind::kPicture},
    };
    for (const auto& k : kinds) controls.push_back({k.second, &backColours_[k.first]});
    // The group boxes drawn inside the frames follow their frame.
    if (shell::RunSkinStep(skinFramework1_, path, shell::FileExists(path),
                           reinterpret_cast<std::uintptr_t>(hwnd_), controls)) {
        for (HWND frame : {frame1_, frame2_})
            SetBackColour(GetWindow(frame, GW_CHILD), backColours_[frame]);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void Form1::MinimiseToTray() {
    // The icon first: without it a hidden window could never be brought back, so it stays minimised.
    cSysTray1_.SetInTray(true);
    if (!cSysTray1_.InTray()) return;
    ShowWindow(hwnd_, SW_HIDE);
    inTray_ = true;
    cSysTray1_.ShowBalloon(kBalloonText, kProductCaption, 5, true);
}

void Form1::RestoreFromTray() {
    ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    inTray_ = false;
    // What happened while hidden is shown as a selection change would show it.
    ShowCurrentClip();
}

void Form1::BringToFront() {
    if (inTray_ || !IsWindowVisible(hwnd_) || IsIconic(hwnd_)) {
        RestoreFromTray();
        return;
    }
    SetForegroundWindow(hwnd_);
}

void Form1::MouseUp(std::int16_t, std::int32_t) { RestoreFromTray(); }

void Form1::Form_Unload() {
    if (hotkeyRegistered_) UnregisterHotKey(hwnd_, kPopupHotkeyId);
    popup_.Close();
    cSysTray1_.EndBalloonWait();
    cSysTray1_.SetInTray(false);
    capture::StopWatchdog();
    ChangeClipboardChain(hwnd_, capture::NextViewer());
    capture::DetachMonitor(hwnd_);
    common::DoEvents();
    // Close whatever other window of the program is still open (an open message box among them).
    EnumThreadWindows(GetCurrentThreadId(), CloseOtherWindow, reinterpret_cast<LPARAM>(hwnd_));
}

bool Form1::OnSetCursor(HWND over) {
    if (gHourglass) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return true;
    }
    for (HWND button : {pushButton1_, pushButton2_, pushButton3_, pushButton5_, pushButton7_}) {
        if (over == button && handCursor_) {
            SetCursor(handCursor_);
            return true;
        }
    }
    return false;  // every other control shows its own pointer
}

COLORREF Form1::Resolve(std::uint32_t ole) const {
    std::uint32_t rgb = 0;
    if (skinFramework1_.Resolve(ole, rgb)) return rgb;
    if (ole & 0x80000000u) return GetSysColor(int(ole & 0xFF));
    return ole & 0xFFFFFF;
}

HBRUSH Form1::BrushFor(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it == brushes_.end()) it = brushes_.emplace(colour, gdi::Brush(CreateSolidBrush(colour))).first;
    return it->second.get();
}

void Form1::SetBackColour(HWND control, std::uint32_t ole) {
    backColours_[control] = ole;
    InvalidateRect(control, nullptr, TRUE);
}

LRESULT Form1::ControlColours(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = backColours_.find(control);
    if (it == backColours_.end()) return DefWindowProcA(hwnd_, message, wParam, lParam);
    const COLORREF back = Resolve(it->second);
    SetBkColor(dc, back);
    std::uint32_t text = 0;
    if (it->second == shell::kSkinBackground && skinFramework1_.TextColour(text)) SetTextColor(dc, text);
    return reinterpret_cast<LRESULT>(BrushFor(back));
}

// The work of opening happens on the press, before the edit control sees it.
LRESULT CALLBACK Form1::Text1Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* form = reinterpret_cast<Form1*>(self);
    if (message == WM_LBUTTONDOWN) form->Text1_MouseDown(1);
    if (message == WM_RBUTTONDOWN) form->Text1_MouseDown(2);
    if (message == WM_MBUTTONDOWN) form->Text1_MouseDown(4);
    // The right button means "Open with" here; the edit control's own menu would follow it.
    if (message == WM_CONTEXTMENU) return 0;
    // A read-only preview has no use for Tab: let it move on to the next control.
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(hwnd, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Text1Proc, 1);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Form1::PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = common::WindowOwner<Form1>(hwnd, message, lParam, [&](Form1* owner) { owner->hwnd_ = hwnd; });
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            // The list asks first and chooses its own pointer unless this window set one.
            if (reinterpret_cast<HWND>(wParam) == ucClipList1_.picList()) return FALSE;
            break;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED && !inTray_) MinimiseToTray();
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kIdPushButton1:
                    if (HIWORD(wParam) == BN_CLICKED) PushButton1_Click();
                    return 0;
                case kIdPushButton2:
                    if (HIWORD(wParam) == BN_CLICKED) PushButton2_Click();
                    return 0;
                case kIdPushButton3:
                    if (HIWORD(wParam) == BN_CLICKED) PushButton3_Click();
                    return 0;
                case kIdPushButton5:
                    if (HIWORD(wParam) == BN_CLICKED) PushButton5_Click();
                    return 0;
                case kIdPushButton7:
                    if (HIWORD(wParam) == BN_CLICKED) PushButton7_Click();
                    return 0;
                case kIdCheck4:
                    if (HIWORD(wParam) == BN_CLICKED) Check4_Click();
                    return 0;
                case kIdCheck8:
                    if (HIWORD(wParam) == BN_CLICKED) Check8_Click();
                    return 0;
                case kIdText2:
                    if (HIWORD(wParam) == EN_CHANGE) Text2_Change();
                    return 0;
            }
            break;
        case WM_CLOSE:
            Form_Unload();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            capture::SetCaptureHost(nullptr);
            capture::Holders().Clear();
            capture::Holders().onPictureReleasing = nullptr;
            capture::ClipTags() = capture::ClipCollection();
            capture::SetManagerOn(false);
            if (quitOnClose_) PostQuitMessage(0);
            return 0;
    }
    if (message == shell::TaskbarCreatedMessage()) {
        cSysTray1_.TaskbarCreated();
        return 0;
    }
    if (message == ActivateMessage()) {
        if (wParam == kActivatePopup)
            OpenPopup();
        else
            BringToFront();
        return 0;
    }
    if (message == WM_HOTKEY) {
        OpenPopup();
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace mainwindow
