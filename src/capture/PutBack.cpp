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

bool PutClipBack(int position, bool plainTextOnly) {
    CaptureHost* host = Host();
    if (!host) return false;
    auto& list = host->ClipList().Model();
    if (position < 0 || position >= list.ListCount()) return false;
    const std::string tag = ClipTags().Tag(position);
    if (!LoadClip(tag)) return false;
    const std::string kind = TagKind(tag);
    const std::int16_t index = TagHolderIndex(tag);
    const HolderFamily family = FamilyOfKind(kind);

    const bool picture = kind == kKindPicture;
    if (picture) plainTextOnly = false;  // a picture has no plain form: it goes back whole
    ClipFormats formats;
    const ClipFormats* kept = Holders().Kept(family, index);
    if (plainTextOnly) kept = nullptr;
    // The plain text, unless the source's own Unicode text goes back among the kept formats.
    if (!picture && !(kept && FindFormat(*kept, CF_UNICODETEXT))) formats.push_back(UnicodeTextFormat(ClipText(tag)));
    if (kept) formats.insert(formats.end(), kept->begin(), kept->end());

    const DWORD before = GetClipboardSequenceNumber();
    const auto write = [&](HWND window) {
        if (!picture) return WriteClipboard(window, formats, nullptr);
        bool written = false;
        Holders().Pictures().Use(index, [&](HBITMAP pixels) { written = WriteClipboard(window, formats, pixels); });
        return written;
    };
    const DWORD left = WriteOutsideChain(before, write);
    const bool written = left != before;
    if (written) {
        MakeNewest(position);
        QueueClipForHistory(host->HostWindow(), ClipTags().Tag(list.ListCount() - 1));
        RememberClipboardAsSeen(left);  // after MakeNewest: the same contents under this newest clip
        MarkHandled(left);
        list.SetListIndex(list.ListCount() - 1);
    }
    SetCaptureSuppressed(false);
    return written;
}

}  // namespace capture
