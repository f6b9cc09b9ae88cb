// The main window's size: its controls laid out for any size, the splitter between list and preview,
// and the place, size and splitter kept in the settings from one run to the next.
#include <windows.h>

#include <vector>

#include "common/units.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/WindowPlacement.h"
#include "shell/SettingsStore.h"

namespace mainwindow {

namespace {

const char kKeyWindowPlacement[] = "Window Placement";

void Place(HDWP& batch, HWND control, const Box& box) {
    if (control && batch)
        batch = DeferWindowPos(batch, control, nullptr, box.left, box.top, box.width, box.height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<Box>*>(areas)->push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    return TRUE;
}

}  // namespace

void MainWindow::LayOut() {
    RECT client;
    if (!GetClientRect(hwnd_, &client) || client.right <= 0 || client.bottom <= 0) return;
    listWidth_ = ClampListWidth(listDragged_ ? listWidth_ : SharedListWidth(client.right, dpi_), client.right, dpi_);
    const MainBoxes b = LayOutMain(client.right, client.bottom, listWidth_, dpi_);
    HDWP batch = BeginDeferWindowPos(20);
    const std::pair<HWND, Box> placed[] = {
        {managerSwitch_, b.managerButton}, {settingsButton_, b.settingsButton}, {checkRemember_, b.rememberCheck},
        {startupGroup_, b.startupFrame},       {search_.FilterBox(), b.search},
        {clipList_.hwnd(), b.list},   {search_.List().hwnd(), b.list},
        {emptyPanel_, b.emptyLabel},   {previewPanel_, b.preview},
        {infoLine_, b.infoLine},          {deleteSelected_, b.deleteSelected},
        {deleteAll_, b.deleteAll},     {outputGroup_, b.saveFrame},
        {saveResults_, b.saveButton},
    };
    for (const auto& [control, box] : placed) Place(batch, control, box);
    if (batch) EndDeferWindowPos(batch);
    // Inside the panels, each in its own parent.
    const std::pair<HWND, Box> inner[] = {
        {emptyMessage_, b.emptyText}, {preview_, b.previewText},       {picturePanel_, b.previewPicture},
        {outputFolder_, b.folderBox},        {browseFolder_, b.folderButton},
        {GetWindow(startupGroup_, GW_CHILD), {0, 0, b.startupFrame.width, b.startupFrame.height}},
        {GetWindow(outputGroup_, GW_CHILD), {0, 0, b.saveFrame.width, b.saveFrame.height}},
    };
    for (const auto& [control, box] : inner)
        if (control) MoveWindow(control, box.left, box.top, box.width, box.height, TRUE);
    splitter_ = {b.splitter.left, b.splitter.top, b.splitter.Right(), b.splitter.Bottom()};
    if (IsWindowVisible(picturePanel_)) FitShownPicture();
    // Every control, frames and static lines included, is drawn afresh at its new size: moved windows do not
    // repaint what they leave behind in their parents.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::LimitTrackingSize(MINMAXINFO& limits) const {
    const ClientSize least = MinimumClientSize(dpi_);
    RECT frame = {0, 0, least.width, least.height};
    AdjustWindowRect(&frame, GetWindowLongA(hwnd_, GWL_STYLE), FALSE);
    limits.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
}

bool MainWindow::SplitterMouse(UINT message, LPARAM lParam) {
    const POINT at = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    switch (message) {
        case WM_LBUTTONDOWN:
            if (!PtInRect(&splitter_, at)) return false;
            splitterGrab_ = at.x - splitter_.left;
            SetCapture(hwnd_);
            return true;
        case WM_MOUSEMOVE:
            if (splitterGrab_ < 0) return false;
            listWidth_ = at.x - splitterGrab_ - units::TwipsToPixels(120, dpi_);
            listDragged_ = true;
            LayOut();
            return true;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (splitterGrab_ < 0) return false;
            splitterGrab_ = -1;
            if (message == WM_LBUTTONUP) ReleaseCapture();
            SavePlacement();
            return true;
    }
    return false;
}

bool MainWindow::OverSplitter() const {
    POINT at;
    return GetCursorPos(&at) && ScreenToClient(hwnd_, &at) && PtInRect(&splitter_, at);
}

void MainWindow::NoteFrame() {
    RECT frame;
    if (!IsIconic(hwnd_) && !IsZoomed(hwnd_) && IsWindowVisible(hwnd_) && GetWindowRect(hwnd_, &frame))
        normalFrame_ = frame;
}

void MainWindow::SavePlacement() {
    if (normalFrame_.right <= normalFrame_.left) return;
    SavedPlacement saved{int(normalFrame_.left), int(normalFrame_.top), int(normalFrame_.right - normalFrame_.left),
                         int(normalFrame_.bottom - normalFrame_.top),
                         IsZoomed(hwnd_) || (IsIconic(hwnd_) && restoreMaximised_),
                         // Undragged, the list follows the window's width: the default says so.
                         units::PixelsToTwips(listDragged_ ? listWidth_ : DefaultListWidth(dpi_), dpi_)};
    shell::SaveSetting(kKeyWindowPlacement, PlacementSetting(saved));
}

void MainWindow::RestorePlacement() {
    const auto saved = ParsePlacementSetting(shell::GetSetting(kKeyWindowPlacement, ""));
    if (!saved) return;
    std::vector<Box> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    const Box frame = PlaceOnScreen({saved->left, saved->top, saved->width, saved->height},
                                    GetSystemMetrics(SM_CYCAPTION), workAreas);
    listWidth_ = units::TwipsToPixels(saved->listTwips, dpi_);
    listDragged_ = listWidth_ != DefaultListWidth(dpi_);
    MoveWindow(hwnd_, frame.left, frame.top, frame.width, frame.height, FALSE);
    normalFrame_ = {frame.left, frame.top, frame.Right(), frame.Bottom()};
    restoreMaximised_ = saved->maximised;
    LayOut();
}

}  // namespace mainwindow
