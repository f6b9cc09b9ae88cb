#include "capture/PutBack.h"

#include <windows.h>

#include <string>

#include "capture/CaptureClip.h"
#include "clipboard/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "capture/ClipboardRewrite.h"
#include "history/HistoryStore.h"
#include "clips/Clips.h"
#include "cliplist/ClipListControl.h"

namespace capture {

bool PutClipBack(ClipboardMonitor& monitor, int position, bool plainTextOnly) {
    clips::CaptureHost* host = monitor.Clips().Host();
    if (!host) return false;
    auto& list = host->ClipList().Model();
    if (position < 0 || position >= list.ListCount()) return false;
    const clips::ClipId tag = monitor.Clips().Tags().Tag(position);
    if (!monitor.History().LoadClip(tag)) return false;
    const std::string kind = tag.kind;
    const clips::HolderIndex index = tag.holder;
    const clips::HolderFamily family = clips::FamilyOfKind(kind);

    const bool picture = kind == clips::kKindPicture;
    if (picture) plainTextOnly = false;  // a picture has no plain form: it goes back whole
    clips::ClipFormats formats;
    const clips::ClipFormats* kept = monitor.Clips().Holders().Kept(family, index);
    if (plainTextOnly) kept = nullptr;
    // The plain text, unless the source's own Unicode text goes back among the kept formats.
    if (!picture && !(kept && clips::FindFormat(*kept, CF_UNICODETEXT)))
        formats.push_back(clips::UnicodeTextFormat(monitor.Clips().Text(tag)));
    if (kept) formats.insert(formats.end(), kept->begin(), kept->end());

    const DWORD before = GetClipboardSequenceNumber();
    const auto write = [&](HWND window) {
        if (!picture) return clipboard::WriteClipboard(window, formats, nullptr);
        bool written = false;
        monitor.Clips().Holders().Pictures().Use(
            index, [&](HBITMAP pixels) { written = clipboard::WriteClipboard(window, formats, pixels); });
        return written;
    };
    const DWORD left = WriteOutsideChain(monitor, before, write);
    const bool written = left != before;
    if (written) {
        monitor.Clips().MakeNewest(position);
        monitor.History().QueueClip(host->HostWindow(), monitor.Clips().Newest());
        RememberClipboardAsSeen(monitor, left);  // after MakeNewest: the same contents under this newest clip
        monitor.MarkHandled(left);
        list.SetListIndex(list.ListCount() - 1);
    }
    monitor.SetCaptureSuppressed(false);
    return written;
}

}  // namespace capture
