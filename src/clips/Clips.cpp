#include "clips/Clips.h"

#include <algorithm>

#include "clips/ClipFormats.h"
#include "cliplist/ClipListControl.h"
#include "common/Utf8.h"

namespace clips {

int Clips::Count() const { return host_ ? host_->ClipList().Model().ListCount() : 0; }

void Clips::SetHistorySize(int clips) { historySize_ = std::clamp(clips, 1, kMaxHistoryClips); }

void Clips::Remove(int position) {
    if (!host_) return;
    auto& list = host_->ClipList().Model();
    if (position < 0 || position >= list.ListCount()) return;
    const ClipId tag = tags_.Tag(position);
    holders_.Release(FamilyOfKind(tag.kind), tag.holder);
    tags_.RemoveTag(position, list.ListCount());
    list.RemoveItem(position);
}

void Clips::RemoveMany(const std::vector<int>& positions) {
    if (!host_ || positions.empty()) return;
    auto& list = host_->ClipList().Model();
    const int count = list.ListCount();
    if (positions.front() < 0 || positions.back() >= count) return;
    for (int position : positions) {
        const ClipId tag = tags_.Tag(position);
        holders_.Release(FamilyOfKind(tag.kind), tag.holder);
    }
    tags_.RemoveTags(positions, count);
    list.RemoveItems(positions);
}

int Clips::OldestUnpinned() const {
    if (!host_) return -1;
    const auto& list = host_->ClipList().Model();
    // The newest clip is never the one to go: it is the copy just made.
    for (int position = 0; position < list.ListCount() - 1; ++position)
        if (!list.ItemPinned(position)) return position;
    return -1;
}

void Clips::MakeNewest(int position) {
    if (!host_) return;
    auto& list = host_->ClipList().Model();
    const int last = list.ListCount() - 1;
    if (position < 0 || position >= last) return;
    const std::string label = list.ItemText(position);
    const std::int16_t icon = list.ItemIcon(position), iconSelected = list.ItemIconSelected(position);
    const bool pinned = list.ItemPinned(position);
    const ClipId tag = tags_.RemoveTag(position, list.ListCount());
    list.RemoveItem(position);
    tags_.SetTag(last, tag);
    list.AddItem(label, icon, iconSelected);
    list.SetItemPinned(last, pinned);
}

std::string Clips::TextHead(const ClipId& tag, std::size_t characters) {
    const std::string kind = tag.kind;
    const clips::HolderIndex index = tag.holder;
    if (kind == kKindText || kind == kKindFileList) {
        const std::string* text = holders_.Text(index);
        return text ? common::Utf8Prefix(*text, characters) : "";
    }
    if (kind != kKindRichText) return "";
    if (const ClipFormats* kept = holders_.Kept(HolderFamily::kRichText, index))
        if (const ClipFormat* unicode = FindFormat(*kept, CF_UNICODETEXT)) {
            // The source's own plain text where it offered one: a character takes at most two UTF-16 units.
            const std::string& block = unicode->bytes;
            const bool whole = characters >= block.size() / (2 * sizeof(wchar_t));
            return common::Utf8Prefix(
                Utf8OfUnicodeBlock(whole ? block : block.substr(0, characters * 2 * sizeof(wchar_t))), characters);
        }
    // The box's reading of the markup otherwise.
    const RichTextHolder* box = holders_.RichText(index);
    return box ? box->PlainTextHead(characters) : "";
}

}  // namespace clips
