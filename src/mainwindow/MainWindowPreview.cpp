// The preview of the current clip (text, file lists and rich text in Preview, pictures fitted into
// PicturePanel), and putting it back on the clipboard from the list (double-click or Enter).
#include <windows.h>

#include "capture/ClipboardMonitor.h"
#include "history/HistoryStore.h"
#include "common/WindowText.h"
#include "common/units.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PreviewRules.h"

namespace mainwindow {

namespace {
const float kFrameWidthTwips = 4995;
const float kFrameHeightTwips = 3345;
}  // namespace

// A capture shows its clip through the list's selection change; the preview itself fills later.
void MainWindow::ShowPreviewText(const std::string&) { SchedulePreview(); }
void MainWindow::ShowPreviewPicture(HBITMAP) { SchedulePreview(); }

// The preview is filled once the window's other messages are handled, never on the capture's path: a
// multi-line box takes milliseconds to lay out even a short text, and a burst of copies fills it once.
void MainWindow::SchedulePreview() {
    if (previewPending_) return;
    previewPending_ = true;
    SetTimer(hwnd_, kPreviewTimer, 0, nullptr);
}

// Text is set once for the capture and the selection change that follows it.
void MainWindow::SetPreviewText(const std::string& text) {
    std::string shown = PreviewText(text);
    if (shown == shownPreview_) return;
    // A shown box with a scroll bar lays its text out inside the call (milliseconds even for a line);
    // hidden, it only takes the text and lays it out when it paints.
    const bool shownBox = IsWindowVisible(preview_);
    if (shownBox) ShowWindow(preview_, SW_HIDE);
    common::SetWindowTextUtf8(preview_, shown);
    if (shownBox) ShowWindow(preview_, SW_SHOW);
    shownPreview_ = std::move(shown);
}

void MainWindow::HideEmptyPanel() { ShowWindow(emptyPanel_, SW_HIDE); }

void MainWindow::ReportRefusedClip(const std::string& message) { common::SetWindowTextUtf8(infoLine_, message); }

void MainWindow::FitShownPicture() {
    monitor_.SetCaptureSuppressed(true);
    ShowWindow(pictureView_.hwnd(), SW_HIDE);
    pictureView_.SetStretch(false);
    BITMAP info;
    if (pictureView_.Picture() && GetObject(pictureView_.Picture(), sizeof(info), &info)) {
        const float pw = float(units::PixelsToHimetric(info.bmWidth, dpi_));
        const float ph = float(units::PixelsToHimetric(info.bmHeight, dpi_));
        // The frame as large as the window now makes it; at the designed size, the design's own twips.
        RECT frame;
        GetClientRect(picturePanel_, &frame);
        const bool designed = frame.right == Px(kFrameWidthTwips) && frame.bottom == Px(kFrameHeightTwips);
        const float fw = designed ? kFrameWidthTwips : float(units::PixelsToTwips(frame.right, dpi_));
        const float fh = designed ? kFrameHeightTwips : float(units::PixelsToTwips(frame.bottom, dpi_));
        const ImageFit fit = FitPicture(fw, fh, pw, ph);
        pictureView_.SetStretch(fit.stretch);
        // Unstretched, the image takes the picture's own size.
        int width = fit.stretch ? Px(fit.width) : info.bmWidth;
        int height = fit.stretch ? Px(fit.height) : info.bmHeight;
        int left = Px(fit.left), top = Px(fit.top);
        // The preview shrinks a picture to fit, never enlarges it: one smaller than the frame is centred.
        if (fit.stretch && (width > info.bmWidth || height > info.bmHeight)) {
            pictureView_.SetStretch(false);
            width = info.bmWidth;
            height = info.bmHeight;
            left = (int(frame.right) - width) / 2;
            top = (int(frame.bottom) - height) / 2;
        }
        MoveWindow(pictureView_.hwnd(), left, top, width, height, TRUE);
        ShowWindow(pictureView_.hwnd(), SW_SHOW);
    }
    monitor_.SetCaptureSuppressed(false);
}

void MainWindow::ListIndexChange() {
    ErrorReport step(hwnd_, "ucClipList1_ListIndexChange");
    step(1, [&] { ShowCurrentClip(); });
    // A capture (or a deletion) while the popup is open: its rows follow the clips' new positions.
    step(2, [&] {
        if (popup_.IsOpen()) popup_.Update(PopupItems(popup_.SpareItems()));
        RefreshSearch();
    });
}

void MainWindow::DblClick() { PutCurrentClipBack(); }

void MainWindow::KeyDown(int keyCode, int shift) {
    if (keyCode == VK_RETURN) PutCurrentClipBack();
    if (keyCode == VK_DELETE && shift == 0) OnDeleteSelectedClicked();  // asks as "Delete Selected" does
    if (keyCode == 'P' && shift == 2) TogglePin(clipList_.Model().ListIndex());  // Ctrl alone
    if (keyCode == 'F' && shift == 2) FocusSearch();
}

void MainWindow::PutCurrentClipBack() {
    const int position = clipList_.Model().ListIndex();
    if (position >= 0) PutBack(position, false);
}

// The clip the list stands on, or its first.
clips::ClipId MainWindow::CurrentTag() const {
    const int position = clipList_.Model().ListIndex();
    return clips_.Tags().Tag(position < 0 ? 0 : position);
}

void MainWindow::ShowCurrentClip() {
    if (!IsWindowVisible(hwnd_)) return;
    const auto& list = clipList_.Model();
    ShowWindow(emptyPanel_, list.ListCount() < 1 ? SW_SHOW : SW_HIDE);
    // No focus is taken here: a capture runs while the user works in another program.
    const clips::ClipId tag = CurrentTag();
    const std::string kind = tag.kind;
    if (kind != clips::kKindPicture && kind != clips::kKindText && kind != clips::kKindFileList &&
        kind != clips::kKindRichText)
        return;
    // A clip listed from its file is read by the preview, once the list is painted: moving through a long
    // history waits on no file. Its line says what the list does meanwhile.
    if (!history_.ClipHeld(tag))
        NameCurrentClip(kind, list.ItemText(list.ListIndex() < 0 ? 0 : list.ListIndex()));
    else if (!ShowInfoLine(tag))
        return;
    SchedulePreview();
}

// The line at once: it names the clip before the preview lays out its text.
bool MainWindow::ShowInfoLine(const clips::ClipId& tag) {
    if (!history_.UseClip(tag)) return false;
    NameCurrentClip(tag.kind, clips_.TextHead(tag, kInfoTextHead));  // "" for a picture
    return true;
}

void MainWindow::NameCurrentClip(const std::string& kind, const std::string& head) {
    const auto& list = clipList_.Model();
    const int position = list.ListIndex() < 0 ? 0 : list.ListIndex();
    common::SetWindowTextUtf8(infoLine_, InfoLine(InfoPrefix(kind, head), position, list.ListCount()));
}

void MainWindow::FillPreview() {
    KillTimer(hwnd_, kPreviewTimer);
    previewPending_ = false;
    if (!IsWindowVisible(hwnd_) || clipList_.Model().ListCount() < 1) return;
    const clips::ClipId tag = CurrentTag();
    if (!history_.ClipHeld(tag) && !ShowInfoLine(tag)) return;
    const std::string kind = tag.kind;
    if (kind == clips::kKindPicture) {
        pictureView_.SetPicture(clips_.Holders().Picture(tag.holder));
        FitShownPicture();
        ShowWindow(picturePanel_, SW_SHOW);
        ShowWindow(preview_, SW_HIDE);
    } else if (kind == clips::kKindText || kind == clips::kKindFileList || kind == clips::kKindRichText) {
        const std::string* held =
            kind == clips::kKindRichText ? nullptr : clips_.Holders().Text(tag.holder);
        SetPreviewText(held ? *held : clips_.Text(tag));
        ShowWindow(picturePanel_, SW_HIDE);
        ShowWindow(preview_, SW_SHOW);
    }
}

}  // namespace mainwindow
