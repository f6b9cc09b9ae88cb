#include "clips/Clips.h"

#include <algorithm>

#include "clips/ClipFormats.h"
#include "cliplist/ClipListControl.h"
#include "common/Utf8.h"

namespace clips {

namespace {
CaptureHost* gHost = nullptr;
ClipCollection gTags;
ClipHolders gHolders;
int gHistorySize = kMaxClips;
}  // namespace

void SetCaptureHost(CaptureHost* host) { gHost = host; }
CaptureHost* Host() { return gHost; }
ClipCollection& ClipTags() { return gTags; }
ClipHolders& Holders() { return gHolders; }

void SetHistorySize(int clips) { gHistorySize = std::clamp(clips, 1, kMaxHistoryClips); }
int HistorySize() { return gHistorySize; }

void RemoveClip(int position) {
    if (!gHost) return;
    auto& list = gHost->ClipList().Model();
    if (position < 0 || position >= list.ListCount()) return;
    const ClipId tag = gTags.Tag(position);
    gHolders.Release(FamilyOfKind(tag.kind), tag.holder);
    gTags.RemoveTag(position, list.ListCount());
    list.RemoveItem(position);
}

int OldestUnpinnedClip() {
    if (!gHost) return -1;
    const auto& list = gHost->ClipList().Model();
    // The newest clip is never the one to go: it is the copy just made.
    for (int position = 0; position < list.ListCount() - 1; ++position)
        if (!list.ItemPinned(position)) return position;
    return -1;
}

void MakeNewest(int position) {
    if (!gHost) return;
    auto& list = gHost->ClipList().Model();
    const int last = list.ListCount() - 1;
    if (position < 0 || position >= last) return;
    const std::string label = list.ItemText(position);
    const std::int16_t icon = list.ItemIcon(position), iconSelected = list.ItemIconSelected(position);
    const bool pinned = list.ItemPinned(position);
    const ClipId tag = gTags.RemoveTag(position, list.ListCount());
    list.RemoveItem(position);
    gTags.SetTag(last, tag);
    list.AddItem(label, icon, iconSelected);
    list.SetItemPinned(last, pinned);
}

std::string ClipText(const ClipId& tag) { return ClipTextHead(tag, std::string::npos); }

std::string ClipTextHead(const ClipId& tag, std::size_t characters) {
    const std::string kind = tag.kind;
    const std::int16_t index = tag.holder;
    if (kind == kKindText || kind == kKindFileList) {
        const std::string* text = gHolders.Text(index);
        return text ? common::Utf8Prefix(*text, characters) : "";
    }
    if (kind != kKindRichText) return "";
    if (const ClipFormats* kept = gHolders.Kept(HolderFamily::kRichText, index))
        if (const ClipFormat* unicode = FindFormat(*kept, CF_UNICODETEXT)) {
            // The source's own plain text where it offered one: a character takes at most two UTF-16 units.
            const std::string& block = unicode->bytes;
            const bool whole = characters >= block.size() / (2 * sizeof(wchar_t));
            return common::Utf8Prefix(
                Utf8OfUnicodeBlock(whole ? block : block.substr(0, characters * 2 * sizeof(wchar_t))), characters);
        }
    // The box's reading of the markup otherwise.
    const RichTextHolder* box = gHolders.RichText(index);
    return box ? box->PlainTextHead(characters) : "";
}

}  // namespace clips
