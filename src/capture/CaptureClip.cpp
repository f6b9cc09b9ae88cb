#include "capture/CaptureClip.h"

#include <windows.h>

#include <exception>
#include <string>

#include "capture/ClipLimits.h"
#include "capture/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "capture/ClipboardRewrite.h"
#include "capture/SecretMarkers.h"
#include "capture/mClip.h"
#include "cliplist/ucClipList.h"
#include "common/DoEvents.h"

namespace capture {

namespace {

// A failing step is skipped; the capture goes on with the next one.
template <typename Step>
void Skip(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

bool CopyIsSecret(HWND window) {
    static const UINT exclude = RegisterClipboardFormatA(kExcludeFormat);
    static const UINT viewerIgnore = RegisterClipboardFormatA(kViewerIgnoreFormat);
    static const UINT history = RegisterClipboardFormatA(kHistoryFormat);
    SecretMarkers markers;
    markers.exclude = IsClipboardFormatAvailable(exclude);
    markers.viewerIgnore = IsClipboardFormatAvailable(viewerIgnore);
    markers.historyFlag = IsClipboardFormatAvailable(history);
    if (markers.historyFlag) markers.historyValue = ReadClipboardBytes(window, history);
    return MarkedSecret(markers);
}

std::string ChooseKind(HWND window) {
    const std::string kind = KindForFormats(
        IsClipboardFormatAvailable(CF_TEXT), IsClipboardFormatAvailable(CF_BITMAP), IsClipboardFormatAvailable(CF_DIB),
        IsClipboardFormatAvailable(RichTextFormat()), IsClipboardFormatAvailable(CF_HDROP));
    if (kind == kKindFileList) FileListToText(window);
    return kind;
}

// Why a copy of this kind is too large to keep, or "".
std::string Refusal(const std::string& kind, HWND window) {
    if (kind == kKindPicture) {
        std::uint64_t width = 0, height = 0;
        bool complete = true;
        return ClipboardPictureSize(window, width, height, complete) ? PictureRefusal(width, height, complete) : "";
    }
    const UINT format = kind == kKindRichText ? RichTextFormat() : CF_TEXT;
    const std::optional<std::uint64_t> bytes = ClipboardDataSize(window, format);
    return bytes ? TooLargeForText(*bytes) : "";
}

// The clipboard's text, or the holder's old text when the read fails.
void FillText(std::string* holder, UINT format, HWND window) {
    if (!holder) return;
    if (auto text = ReadClipboardText(window, format)) *holder = std::move(*text);
}

void StoreClip(CaptureHost& host, const std::string& kind) {
    auto& list = host.ClipList().Model();
    ClipCollection& tags = ClipTags();
    ClipHolders& holders = Holders();
    HWND window = host.MainWindow();
    const int position = list.ListCount();
    const HolderFamily family = FamilyOfKind(kind);
    const std::int16_t index = tags.NextHolderIndex(family, position);
    const std::int16_t icon = IconOfKind(kind);

    Skip([&] { tags.SetTag(position, MakeTag(kind, index)); });
    if (kind == kKindPicture) {
        Skip([&] { list.AddItem(kPictureLabel, icon, icon); });
        common::DoEvents();
        Skip([&] { holders.Create(family, index); });
        Skip([&] { holders.SetPicture(index, ReadClipboardBitmap(window)); });
        Skip([&] { host.ShowPreviewPicture(holders.Picture(index)); });
    } else if (kind == kKindRichText) {
        Skip([&] { holders.Create(family, index); });
        Skip([&] {
            RichTextHolder* box = holders.RichText(index);
            if (!box) return;
            if (auto markup = ReadClipboardText(window, RichTextFormat())) box->SetMarkup(*markup);
            list.AddItem(ListLabel(box->PlainText(), false), icon, icon);
        });
        Skip([&] {
            if (auto text = ReadClipboardText(window, CF_TEXT)) host.ShowPreviewText(*text);
        });
    } else {  // text and file list: the file list is text by now
        Skip([&] { holders.Create(family, index); });
        std::string* text = holders.Text(index);
        Skip([&] { FillText(text, CF_TEXT, window); });
        Skip([&] { list.AddItem(ListLabel(text ? *text : "", kind == kKindText), icon, icon); });
        Skip([&] { host.ShowPreviewText(text ? *text : ""); });
    }
    tags.Advance(family, index);
}

}  // namespace

void ReportClipboardHeld() {
    if (CaptureHost* host = Host()) host->ReportRefusedClip("Not kept: another program kept the clipboard open");
}

DWORD CaptureClip() {
    if (SelfWrite()) return GetClipboardSequenceNumber();
    CaptureHost* host = Host();
    if (!host) return GetClipboardSequenceNumber();
    SetCaptureSuppressed(true);
    std::string kind;
    // A secret is left exactly as its program put it: no kind, no clip, no write-back.
    bool secret = true;
    Skip([&] { secret = CopyIsSecret(host->MainWindow()); });
    if (!secret) Skip([&] { kind = ChooseKind(host->MainWindow()); });
    std::string refusal;
    if (!kind.empty()) Skip([&] { refusal = Refusal(kind, host->MainWindow()); });
    // The first read found another program holding the clipboard: try again rather than keep an empty clip.
    if (!kind.empty() && LastOpenFailed()) {
        SetCaptureSuppressed(false);
        return kClipboardBusy;
    }
    if (!refusal.empty()) Skip([&] { host->ReportRefusedClip(refusal); });
    // What is read from here on: a file list has already become its text.
    const DWORD read = GetClipboardSequenceNumber();
    if (kind.empty() || !refusal.empty()) {
        SetCaptureSuppressed(false);
        return read;
    }
    StoreClip(*host, kind);
    auto& list = host->ClipList().Model();
    Skip([&] {
        if (list.ListCount() > kMaxClips) RemoveOldestClip();
    });
    Skip([&] { host->HideEmptyPanel(); });
    Skip([&] { list.SetListIndex(list.ListCount() - 1); });
    DWORD left = read;
    Skip([&] { left = RepostCurrentClip(read); });
    SetCaptureSuppressed(false);
    common::DoEvents();
    return left;
}

}  // namespace capture
