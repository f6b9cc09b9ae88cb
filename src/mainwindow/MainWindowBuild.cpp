// The main window's making: its controls, the start-up steps and the skin.
#include "mainwindow/MainWindow.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "history/HistoryStore.h"
#include "capture/ChainWatchdog.h"
#include "capture/CaptureClip.h"
#include "capture/ClipboardMonitor.h"
#include "clips/ClipLimits.h"
#include "common/PropertyBag.h"
#include "common/WindowText.h"
#include "mainwindow/ClipKindIcons.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindowParts.h"
#include "mainwindow/UserMessages.h"
#include "shell/PathHelpers.h"
#include "shell/SettingsStore.h"

namespace mainwindow {


namespace {

// The program's own icon resource; a host without it (a test program) gets the same icon drawn.
HICON LoadAppIcon(int size) {
    if (HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)))
        return icon;
    return CreateAppIcon(size);
}

}  // namespace

HWND MainWindow::Child(const char* cls, const char* text, DWORD style, HWND parent, int id, int left, int top,
                       int width, int height, std::uint32_t backColour) {
    // Unicode windows, so that the preview, the information line and the folder box hold every character.
    HWND control = CreateWindowExW(0, common::Widen(cls).c_str(), common::Widen(text).c_str(),
                                   WS_CHILD | WS_VISIBLE | style, Px(left), Px(top), Px(width), Px(height), parent,
                                   reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    if (control) {
        twipsPlaces_[control] = RECT{left, top, width, height};
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (backColour) SetBackColour(control, backColour);
    }
    return control;
}

// Panels are control parents, so that Tab walks into the controls they hold.
HWND MainWindow::Panel(HWND parent, int left, int top, int width, int height, std::uint32_t backColour) {
    HWND panel = Child(kPanelClass, "", WS_CLIPSIBLINGS, parent, 0, left, top, width, height, backColour);
    SetWindowLongA(panel, GWL_EXSTYLE, GetWindowLongA(panel, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    return panel;
}

// A frame is a panel (so that its controls report to this window) with a group box drawn in it.
HWND MainWindow::Frame(const char* caption, int left, int top, int width, int height) {
    HWND panel = Panel(hwnd_, left, top, width, height, kWhite);
    Child("BUTTON", caption, BS_GROUPBOX, panel, 0, 0, 0, width, height, kWhite);
    return panel;
}

void MainWindow::AddTooltip(HWND tool, const char* text) {
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text);
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

bool MainWindow::CreateControls() {
    const common::FontSpec ambient;
    LOGFONTW face = {};
    face.lfHeight = -MulDiv(int(ambient.points), dpi_, 72);
    lstrcpynW(face.lfFaceName, common::Widen(ambient.name).c_str(), LF_FACESIZE);
    font_ = gdi::Font(CreateFontIndirectW(&face));

    managerSwitch_ =
        Child("BUTTON", kManagerOnCaption, BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdManagerSwitch, 120, 120, 4140, 405);
    settingsButton_ = Child("BUTTON", "Settings...", BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdSettings, 4380, 120, 1260, 405);
    // Beside the switch it belongs with: what the manager collects, and whether it lasts.
    checkRemember_ = Child("BUTTON", "Remember History", BS_AUTOCHECKBOX | WS_TABSTOP, hwnd_, kIdCheckRemember, 5790,
                           180, 2130, 285, shell::kSkinBackground);
    startupGroup_ = Frame("Startup Options", 120, 570, 7800, 735);
    startWithWindows_ = Child("BUTTON", "Load this software on Windows startup", BS_AUTOCHECKBOX | WS_TABSTOP,
                              startupGroup_, kIdStartWithWindows, 240, 300, 3930, 285, kWhite);
    startInTray_ = Child("BUTTON", "Start in system tray", BS_AUTOCHECKBOX | WS_TABSTOP, startupGroup_, kIdStartInTray,
                         4200, 300, 1980, 285, kWhite);

    // The search box across the top of the list's place, the list (or while searching, what was found) below.
    const int searchHeight = Px(360);
    const RECT listPlace{Px(120), Px(1440), Px(120) + Px(2535), Px(1440) + Px(3435)};
    if (!clipList_.Create(hwnd_, kIdClipList, listPlace.left, listPlace.top + searchHeight, Px(2535),
                             Px(3435) - searchHeight))
        return false;
    clipList_.ReadProperties(common::PropertyBag::Parse(kClipListProperties), common::FontSpec());
    SetWindowLongA(clipList_.hwnd(), GWL_STYLE,
                   GetWindowLongA(clipList_.hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS | WS_TABSTOP);
    clipList_.SetEvents(this);
    if (!CreateSearch(listPlace, searchHeight)) return false;
    // Tab reaches the search box before the list below it.
    HWND searchBox = search_.FilterBox();
    while (GetParent(searchBox) && GetParent(searchBox) != hwnd_) searchBox = GetParent(searchBox);
    SetWindowPos(clipList_.hwnd(), searchBox, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    emptyPanel_ = Panel(hwnd_, 180, 2010, 2355, 1905, kWhite);
    // Room for a third line: the font here wraps the text once more than the designed one.
    emptyMessage_ = Child("STATIC", "", SS_CENTER | SS_NOPREFIX, emptyPanel_, 0, 0, 120, 2235, 675, kWhite);
    SetWindowPos(emptyPanel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    previewPanel_ = Panel(hwnd_, 2760, 1440, 5160, 3435, shell::kSkinBackground);
    preview_ = Child("EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
                     previewPanel_, kIdPreview, 0, 0, 5055, 3435, kWhite);
    picturePanel_ = Panel(previewPanel_, 65, 45, 4995, 3345, shell::kSkinBackground);
    ShowWindow(picturePanel_, SW_HIDE);
    if (!pictureView_.Create(picturePanel_, Px(135), Px(225), Px(2190), Px(1485))) return false;

    infoLine_ = Child("STATIC", "Nothing on Clipboard", SS_LEFT | SS_NOPREFIX, hwnd_, 0, 120, 5010, 7800, 255,
                     shell::kSkinBackground);
    deleteSelected_ =
        Child("BUTTON", "Delete Selected", BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdDeleteSelected, 120, 5390, 3840, 405);
    deleteAll_ = Child("BUTTON", "Delete All", BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdDeleteAll, 4080, 5390, 3840, 405);
    outputGroup_ = Frame("Save Results To This Folder", 120, 5850, 7800, 810);
    outputFolder_ = Child("EDIT", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, outputGroup_, kIdOutputFolder, 240, 300,
                          6540, 345, kWindowColour);
    browseFolder_ =
        Child("BUTTON", "...", BS_PUSHBUTTON | WS_TABSTOP, outputGroup_, kIdBrowseFolder, 6840, 300, 720, 345);
    saveResults_ = Child("BUTTON", "Save Results As Text / Image", BS_PUSHBUTTON | WS_TABSTOP, hwnd_, kIdSaveResults,
                         120, 6780, 7800, 405);

    tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowSubclass(preview_, PreviewProc, 1, reinterpret_cast<DWORD_PTR>(this));
    pictureView_.onPress = [this](int button) { OnPictureMouseDown(button); };
    AddTooltip(preview_, kPreviewTip);
    AddTooltip(pictureView_.hwnd(), kPreviewTip);

    if (!clips_.Holders().Init(hwnd_)) return false;

    // The preview draws a holder's bitmap: it lets go before the holder deletes it.
    clips_.Holders().onPictureReleasing = [this](HBITMAP picture) {
        if (pictureView_.Picture() == picture) pictureView_.SetPicture(nullptr);
    };
    if (!trayIcon_.Create(hwnd_, 0, 0)) return false;
    trayIcon_.SetEvents(this);
    clips_.SetHost(this);
    return deleteSelected_ && managerSwitch_ && deleteAll_ && saveResults_ && browseFolder_ && startWithWindows_ &&
           startInTray_ && checkRemember_ && preview_ && outputFolder_ && infoLine_ && emptyMessage_;
}

void MainWindow::StartUp() {
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
        kindIcons_ = CreateClipKindIcons();
        clipList_.SetImageList(kindIcons_);
        search_.List().SetImageList(kindIcons_);
    });
    step(8, [&] {
        listCursor_ = LoadCursorFromFileW(common::Widen(cursorFile).c_str());
        if (!listCursor_) throw std::runtime_error("File not found: '" + cursorFile + "'");
        clipList_.SetMouseIcon(listCursor_);
    });
    step(9, [&] { ShowEmptyListText(); });
    step(10, [&] {
        history_.SetBudget(clips::HistoryBudgetFromSetting(shell::GetSetting(shell::kKeyHistoryBudget, "")));
        const std::string value = shell::GetSetting(shell::kKeyClipboardSwitch, shell::kOff);
        if (value == shell::kOff) monitor_.SetManagerOn(false);
        if (value == shell::kOn) monitor_.SetManagerOn(true);
    });
    step(11, [&] {
        if (monitor_.ManagerOn()) {
            monitor_.SetCaptureSuppressed(true);
            capture::RememberClipboardAsSeen(monitor_);
            monitor_.JoinChain(hwnd_);
            watchdog_.Start(hwnd_);
            SetText(managerSwitch_, kManagerOffCaption);
        } else {
            SetText(managerSwitch_, kManagerOnCaption);
        }
    });
    step(12, [&] { monitor_.SetCaptureSuppressed(false); });
    step(13, [&] {
        trayIcon_.SetTrayTip(kProductCaption);
        trayIcon_.SetIcon(appIconSmall_);
        trayIcon_.SetInTray(false);
    });
    step(14, [&] {
        const bool on = shell::IsOn(shell::GetSetting(shell::kKeyWindowsStartup, shell::kOff));
        SendMessageA(startWithWindows_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        if (on) OnStartWithWindowsClicked();  // the loading guard keeps the start-up entry as it is
    });
    step(15, [&] {
        const bool on = shell::IsOn(shell::GetSetting(shell::kKeyMinimized, shell::kOff));
        SendMessageA(startInTray_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        if (on) OnStartInTrayClicked();
    });
    step(16, [&] { startMinimised_ = common::IsTicked(startInTray_); });
    step(17, [&] { loading_ = false; });
    step(18, [&] {
        SetBackColour(infoLine_, kWhite);
        SetBackColour(preview_, kWhite);  // the preview is white whatever the skin says, as it always showed
    });
    step(19, [&] { SetText(outputFolder_, shell::GetSetting(shell::kKeyOutputFolder, shell::DefaultOutputFolder())); });
    step(20, [&] {
        RegisterPopupHotkey();
        ShowEmptyListText();
        clipList_.SetHint(ClipListTip(hotkeyName_));
        search_.List().SetHint(ClipListTip(hotkeyName_));
    });
    step(21, [&] {
        AddKeyCommands();
        RestoreKeptHistory();
    });
}

void MainWindow::SkinStep() {
    const std::string path = shell::SkinFilePath(shell::ProgramFolder());
    std::vector<shell::SkinnedControl> controls = {{shell::ControlKind::kWindow, &formBackColour_}};
    const std::pair<HWND, shell::ControlKind> kinds[] = {
        {infoLine_, shell::ControlKind::kLabel},       {emptyMessage_, shell::ControlKind::kLabel},
        {startWithWindows_, shell::ControlKind::kCheckBox},     {startInTray_, shell::ControlKind::kCheckBox},
        {checkRemember_, shell::ControlKind::kCheckBox},
        {startupGroup_, shell::ControlKind::kFrame},        {outputGroup_, shell::ControlKind::kFrame},
        {preview_, shell::ControlKind::kTextBox},       {outputFolder_, shell::ControlKind::kTextBox},
        {emptyPanel_, shell::ControlKind::kPicture}, {previewPanel_, shell::ControlKind::kPicture},
        {picturePanel_, shell::ControlKind::kPicture},
    };
    for (const auto& k : kinds) controls.push_back({k.second, &backColours_[k.first]});
    // The group boxes drawn inside the frames follow their frame.
    if (shell::RunSkinStep(skin_, path, shell::FileExists(path),
                           reinterpret_cast<std::uintptr_t>(hwnd_), controls)) {
        for (HWND frame : {startupGroup_, outputGroup_})
            SetBackColour(GetWindow(frame, GW_CHILD), backColours_[frame]);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

}  // namespace mainwindow
