#include "capture/PutBack.h"

#include <windows.h>

#include <string>

#include "capture/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "capture/ClipboardRewrite.h"
#include "capture/CopyFingerprint.h"
#include "capture/mClip.h"
#include "cliplist/ucClipList.h"

namespace capture {

namespace {

// Moves the clip at `position` to the end of the list, tag and all; its holder stays where it is.
void MakeNewest(cliplist::ClipListModel& list, int position) {
    const int last = list.ListCount() - 1;
    if (position == last) return;
    const std::string label = list.ItemText(position);
    const std::int16_t icon = list.ItemIcon(position), iconSelected = list.ItemIconSelected(position);
    const std::string tag = ClipTags().RemoveTag(position, list.ListCount());
    list.RemoveItem(position);
    ClipTags().SetTag(last, tag);
    list.AddItem(label, icon, iconSelected);
}

}  // namespace

bool PutClipBack(int position, bool plainTextOnly) {
    CaptureHost* host = Host();
    if (!host) return false;
    auto& list = host->ClipList().Model();
    if (position < 0 || position >= list.ListCount()) return false;
    const std::string tag = ClipTags().Tag(position);
    const std::string kind = TagKind(tag);
    const std::int16_t index = TagHolderIndex(tag);
    const HolderFamily family = FamilyOfKind(kind);

    ClipFormats formats;
    const bool picture = kind == kKindPicture;
    std::string text;
    if (picture) {
        if (plainTextOnly) return false;
    } else {
        text = ClipText(tag);
        formats.push_back(UnicodeTextFormat(text));
    }
    const ClipFormats* kept = Holders().Kept(family, index);
    if (kept && !plainTextOnly) formats.insert(formats.end(), kept->begin(), kept->end());
    if (formats.empty() && !picture) return false;

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
        MakeNewest(list, position);
        // The program's own write is no new copy, however the notice of it arrives.
        const std::vector<const std::string*> keptBytes = kept && !plainTextOnly ? BytesOf(*kept)
                                                                                 : std::vector<const std::string*>();
        // As a capture of what was written would see it: plain text is a text copy; rich text is its markup.
        const bool rich = kind == kKindRichText && !plainTextOnly && !keptBytes.empty();
        RememberSeen(FingerprintOf(plainTextOnly ? kKindText : kind, rich ? *keptBytes.front() : text, keptBytes, tag));
        MarkHandled(left);
        list.SetListIndex(list.ListCount() - 1);
    }
    SetCaptureSuppressed(false);
    return written;
}

}  // namespace capture
