// The program's only working window: the clip list, the preview, the options and buttons, the tray
// icon and the clip holders. It hands the capture what it needs through CaptureHost.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "capture/ChainWatchdog.h"
#include "capture/ClipboardMonitor.h"
#include "clips/Clips.h"
#include "cliplist/ClipListEvents.h"
#include "cliplist/ClipListControl.h"
#include "history/FolderKeys.h"
#include "history/HistoryFolder.h"
#include "common/GdiScope.h"
#include "mainwindow/FilteredClips.h"
#include "mainwindow/HistoryPopup.h"
#include "mainwindow/PictureView.h"
#include "shell/LookColours.h"
#include "shell/Skin.h"
#include "mainwindow/SettingsWindow.h"
#include "shell/TrayIcon.h"

namespace mainwindow {

const char kProductCaption[] = "Ardentia";
const char kManagerOnCaption[] = "Turn Clipboard Manager On";
const char kManagerOffCaption[] = "Turn Clipboard Manager Off";

// True when another copy of the program already runs; asked once per process.
bool AnotherInstanceRuns();
// Asks the running copy to show its window in front (restored from the tray), or with kActivatePopup to
// open its history popup; false when none answers.
const WPARAM kActivatePopup = 1;
const WPARAM kActivatePassphrase = 2;  // asks for the history folder's passphrase to set it
const WPARAM kActivateSettings = 3;    // opens the settings window
// Posted to itself to ask for what opens the history folder (its passphrase, its key's recovery code) once
// the window shows.
const UINT kAskFolderKey = WM_APP + 0x54;
// Posted to itself at start: the folder's watcher and the index's older blocks start once the window is painted.
const UINT kStartFolderSync = WM_APP + 0x56;
// The window menu's commands: the settings, the history's key.
const UINT kCommandSetPassphrase = 0x0110;
const UINT kCommandRecoveryCode = 0x0120;
const UINT kCommandSettings = 0x0130;
bool ActivateRunningInstance(WPARAM what = 0);
UINT ActivateMessage();

// The hourglass set by long operations; the hover cursor never replaces it.
void SetHourglass(bool on);
bool Hourglass();

class MainWindow : public clips::CaptureHost, private cliplist::ClipListEvents, private shell::TrayIconEvents {
public:
    // A list's colours (OLE colours, as its properties keep them).
    struct ListColours {
        std::uint32_t back, text, selectedBack, selectedText;
    };
    // The history folder's key: its passphrase set for other machines, its recovery code shown.
    void SetFolderPassphrase();
    void ShowRecoveryCode();
    // The settings window; what is changed there is put in force at once.
    void OpenSettings();
    MainWindow();
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls and runs the start-up steps. False when another instance
    // runs (nothing is created then) or the window cannot be made. quitOnClose ends the message loop
    // when the window closes.
    bool Load(bool quitOnClose);
    // Shows the window, minimised (and so into the tray) when "Start in system tray" is ticked.
    void Show();

    HWND hwnd() const { return hwnd_; }
    bool InTray() const { return inTray_; }
    shell::TrayIcon& Tray() { return trayIcon_; }
    capture::ClipboardMonitor& Monitor() { return monitor_; }
    clips::Clips& Clips() { return clips_; }
    history::HistoryStore& History() { return history_; }
    const capture::ChainWatchdog& Watchdog() const { return watchdog_; }
    HWND InformationLine() const { return infoLine_; }
    HWND ClipListWindow() const { return clipList_.hwnd(); }
    HWND Preview() const { return preview_; }
    HWND OutputFolderBox() const { return outputFolder_; }
    HWND PicturePanel() const { return picturePanel_; }
    HWND EmptyPanel() const { return emptyPanel_; }
    HWND DeleteSelectedButton() const { return deleteSelected_; }
    HWND ManagerSwitch() const { return managerSwitch_; }
    HWND SettingsButton() const { return settingsButton_; }
    HWND DeleteAllButton() const { return deleteAll_; }
    HWND SaveResultsButton() const { return saveResults_; }
    HWND BrowseFolderButton() const { return browseFolder_; }
    HWND StartWithWindowsBox() const { return startWithWindows_; }
    HWND StartInTrayBox() const { return startInTray_; }
    HWND CheckRemember() const { return checkRemember_; }
    HWND SearchBox() const { return search_.FilterBox(); }
    FilteredClips& Search() { return search_; }
    // Ctrl+F: the search box, its text selected.
    void FocusSearch();
    const PictureView& ShownPicture() const { return pictureView_; }
    // True while the preview waits to be filled after a capture or a selection change.
    bool PreviewPending() const { return previewPending_; }

    // Fits the picture shown by ShownPicture into the preview frame.
    void FitShownPicture();

    // CaptureHost
    HWND HostWindow() const override { return hwnd_; }
    cliplist::ClipListControl& ClipList() override { return clipList_; }
    void ShowPreviewText(const std::string& text) override;
    void ShowPreviewPicture(HBITMAP picture) override;
    void HideEmptyPanel() override;
    void ReportRefusedClip(const std::string& message) override;
    void NoteCredentialClip(const clips::ClipId& tag) override;
    bool IsCredentialClip(const clips::ClipId& tag) const;

    // The option handlers, as a click runs them.
    void OnManagerSwitchClicked();
    void OnStartWithWindowsClicked();
    void OnStartInTrayClicked();
    void OnRememberHistoryClicked();
    void OnOutputFolderChanged();
    void OnDeleteSelectedClicked();
    void OnDeleteAllClicked();
    void OnSaveResultsClicked();
    void OnBrowseFolderClicked();
    void OnPreviewMouseDown(int button);
    void OnPictureMouseDown(int button);
    void DeleteClip();
    void DeleteAll();
    void RemoveListedClips(bool pinnedStay);  // with the store closed, their files stay
    // Puts the current clip back on the clipboard as it was copied and makes it the newest.
    void PutCurrentClipBack();
    // Pins the clip at this list position, or unpins it; its file is written again.
    void TogglePin(int position);
    // Opens the history popup for the window now in front (the hotkey, or a second start with /popup).
    void OpenPopup();
    HistoryPopup& Popup() { return popup_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool CreateControls();
    HWND Child(const char* cls, const char* text, DWORD style, HWND parent, int id, int left, int top, int width,
               int height, std::uint32_t backColour = 0);
    HWND Panel(HWND parent, int left, int top, int width, int height, std::uint32_t backColour);
    HWND Frame(const char* caption, int left, int top, int width, int height);
    void AddTooltip(HWND tool, const char* text);
    int Px(double twips) const;

    void StartUp();
    // Lays the controls out for the client area's size and the splitter's place.
    void LayOut();
    void LimitTrackingSize(MINMAXINFO& limits) const;
    // A press, drag and release on the splitter; false for any other mouse message.
    bool SplitterMouse(UINT message, LPARAM lParam);
    bool OverSplitter() const;
    // The window's restored frame, followed while it moves and kept in the settings when it closes.
    void NoteFrame();
    void SavePlacement();
    void RestorePlacement();
    void ClearPreview();
    static LRESULT CALLBACK PreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    void SkinStep();
    void RestoreKeptHistory();
    // Opens the history folder with its key (its plain files sealed first) and lists its clips; what the
    // information line says of it.
    std::string OpenSealedHistory(const history::FolderKey& key);
    void AskFolderKey();  // the passphrase or the recovery code that opens the folder here
    void AddKeyCommands();
    bool OnWindowMenuCommand(UINT command);  // false for the system's own
    SettingsOutcome ApplySettings(const std::map<std::string, std::string>& changed);
    std::string HotkeyTaken(const std::string& typed);  // "" when free, or this program's already
    void ReadListOrder();                               // "Newest First"
    // The history folder named in the settings (empty: this machine's own); what is wrong with it as one.
    std::filesystem::path HistoryFolderNamed(const std::string& named) const;
    std::string UnusableFolder(const std::filesystem::path& folder) const;
    // What becomes of the clips when the history goes to another folder (asked when the list has any).
    enum class FolderChange { kMoveClips, kCopyClips, kStartEmpty, kCancelled, kSameFolder };
    FolderChange AskFolderChange(const std::filesystem::path& to);
    void ChangeHistoryFolder(const std::filesystem::path& to, FolderChange change);
    std::filesystem::path historyFolder_;
    history::HistoryLimits historyLimits_;
    std::shared_ptr<const seal::KeySealer> folderKey_;
    bool CreateSearch(const RECT& area, int boxHeight);
    void SearchChanged();
    // The clips changed (captured, deleted, pinned, put back): a search under way reads them again.
    void RefreshSearch();
    // Once the history is listed whole, the search's keys are made on a timer a slice at a time, so that the
    // first search of a long history finds them ready.
    void StartSearchKeysAhead();
    void MakeSearchKeysAhead();
    // What tells a list that changed since its keys were made ahead: its count, its oldest and newest clips.
    std::tuple<int, clips::ClipId, clips::ClipId> ListShape() const;
    std::string historyNote_;  // what start-up skipped of the history on disk, said once shown
    void MinimiseToTray();
    void RestoreFromTray();
    void BringToFront();
    void RegisterPopupHotkey();
    // The empty list's words, which say whether the manager collects and how to use clips again.
    void ShowEmptyListText();
    std::string hotkeyName_;  // the popup's, as registered
    std::vector<PopupItem> PopupItems(std::vector<PopupItem> into) const;  // the main list's clips, filled into
    std::string SearchKeyOf(const PopupItem& item);  // may read the clip's file
    const std::string& LabelAt(int position) const;  // the main list's; empty past its end
    void PasteFromPopup(int position, bool plainText);
    bool IsOwnWindow(HWND window) const;
    // Puts the clip back (plain text only, if asked) and tells the information line how it went.
    bool PutBack(int position, bool plainText);
    void ShutDown();
    bool OnSetCursor(HWND over);
    LRESULT ControlColours(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    COLORREF Resolve(std::uint32_t ole) const;  // in the system's look
    void FollowSystemLook();
    void FollowDpi(int dpi, const RECT* suggested);  // WM_DPICHANGED
    HBRUSH BrushFor(COLORREF colour);
    void SetBackColour(HWND control, std::uint32_t ole);

    // ClipListEvents
    void ListIndexChange() override;
    void DblClick() override;
    void KeyDown(int keyCode, int shift) override;
    void MouseUp(int button, int shift, float x, float y) override;
    void ShowClipMenu();
    // The information line at once; the preview on a zero-delay timer (kPreviewTimer).
    void ShowCurrentClip();
    bool ShowInfoLine(const clips::ClipId& tag);  // reads the clip when only its file holds it; false when damaged
    void NameCurrentClip(const std::string& kind, const std::string& head);  // on the information line
    clips::ClipId CurrentTag() const;
    void SchedulePreview();
    void FillPreview();
    void SetPreviewText(const std::string& text);
    static const UINT_PTR kPreviewTimer = 0x5056;  // "PV"
    static const UINT_PTR kCredentialTimer = 0x4352;  // "CR"
    static const UINT_PTR kSearchKeysTimer = 0x534B;  // "SK"
    static const UINT kSearchKeysWaitMs = 250;
    // Clips that look like a credential (by their tag's text), and when each goes unless pinned.
    std::map<std::string, std::chrono::steady_clock::time_point> credentialsUntil_;
    void ReadCaptureSettings();  // Secret Seconds and Ignore Programs
    void ExpireCredentials();
    bool MayPin(int position);  // a credential is pinned only once the user says so
    bool previewPending_ = false;
    // TrayIconEvents
    void MouseUp(std::int16_t button, std::int32_t id) override;

    HWND hwnd_ = nullptr;
    bool quitOnClose_ = false;
    bool loading_ = false;
    bool inTray_ = false;
    bool startMinimised_ = false;
    int dpi_ = 96;
    std::map<HWND, RECT> twipsPlaces_;  // each control made in twips: left, top, width, height
    int listWidth_ = 0;      // pixels; 0 until laid out
    bool listDragged_ = false;  // the user moved the bar: the list keeps its width, not its share
    int splitterGrab_ = -1;  // where in the splitter the pointer holds it while dragged
    RECT splitter_ = {};
    RECT normalFrame_ = {};
    bool restoreMaximised_ = false;

    HWND settingsButton_ = nullptr;
    HWND deleteSelected_ = nullptr, managerSwitch_ = nullptr, deleteAll_ = nullptr, saveResults_ = nullptr,
         browseFolder_ = nullptr;
    HWND startupGroup_ = nullptr, outputGroup_ = nullptr, startWithWindows_ = nullptr, startInTray_ = nullptr,
         outputFolder_ = nullptr;
    HWND checkRemember_ = nullptr;
    HWND previewPanel_ = nullptr, preview_ = nullptr, picturePanel_ = nullptr;
    HWND emptyPanel_ = nullptr, emptyMessage_ = nullptr, infoLine_ = nullptr;
    HWND tooltips_ = nullptr;
    PictureView pictureView_;
    static const int kPopupHotkeyId = 1;
    HistoryPopup popup_;
    FilteredClips search_;
    bool searchStale_ = true;
    bool syncStartPosted_ = false;
    bool searchKeysItemsMade_ = false;  // the items keyed ahead are the list's since the timer started
    std::tuple<int, clips::ClipId, clips::ClipId> keyedShape_;
    bool choosingFromSearch_ = false;
    HWND popupReturnTo_ = nullptr;
    bool hotkeyRegistered_ = false;
    // The program's state: its clips, their history on disk, the window's place in the viewer chain, and the
    // watchdog that keeps it there.
    clips::Clips clips_;
    history::HistoryStore history_{clips_};
    capture::ClipboardMonitor monitor_{history_};
    capture::ChainWatchdog watchdog_{monitor_};
    cliplist::ClipListControl clipList_;
    HIMAGELIST kindIcons_ = nullptr;
    shell::TrayIcon trayIcon_;
    shell::LoadedSkin skin_;
    shell::Look look_ = shell::Look::kLight;
    std::optional<ListColours> listDesign_;  // the lists' own colours, for the light look
    HICON appIcon_ = nullptr;
    HICON appIconSmall_ = nullptr;
    HCURSOR handCursor_ = nullptr;
    HCURSOR listCursor_ = nullptr;
    gdi::Font font_{nullptr};

    std::string shownPreview_;
    std::uint32_t formBackColour_ = shell::kSkinBackground;
    std::map<HWND, std::uint32_t> backColours_;
    std::map<COLORREF, gdi::Brush> brushes_;
};

}  // namespace mainwindow
