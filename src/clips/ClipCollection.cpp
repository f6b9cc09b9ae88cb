#include "clips/ClipCollection.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "common/Utf8.h"

namespace clips {

std::string KindForMask(int mask) {
    switch (mask) {
        case kMaskText: return kKindText;
        case kMaskBitmap:
        case kMaskDib:
        case kMaskBitmap + kMaskDib: return kKindPicture;
        case kMaskRichText:
        case kMaskRichText + kMaskText: return kKindRichText;
        case kMaskFileList: return kKindFileList;
        default: return "";
    }
}

std::string KindForFormats(bool text, bool bitmap, bool dib, bool richText, bool fileList, bool png) {
    const int mask = (text ? kMaskText : 0) + (bitmap ? kMaskBitmap : 0) + (dib ? kMaskDib : 0) +
                     (richText ? kMaskRichText : 0);
    if (mask == kMaskText + kMaskBitmap + kMaskDib + kMaskRichText) return kKindRichText;
    if (mask == 0) return fileList ? kKindFileList : png ? kKindPicture : "";
    return KindForMask(mask);
}

HolderFamily FamilyOfKind(const std::string& kind) {
    if (kind == kKindText || kind == kKindFileList) return HolderFamily::kText;
    if (kind == kKindPicture) return HolderFamily::kPicture;
    if (kind == kKindRichText) return HolderFamily::kRichText;
    return HolderFamily::kNone;
}

std::int16_t IconOfKind(const std::string& kind) {
    if (kind == kKindText) return 1;
    if (kind == kKindPicture) return 2;
    if (kind == kKindRichText) return 3;
    if (kind == kKindFileList) return 4;
    return 0;
}

std::string TagText(const ClipId& id) { return std::string(id.kind) + std::to_string(id.holder); }

std::string ListLabel(const std::string& text) {
    const std::string head = common::Utf8Prefix(text, kLabelLength);
    return head.size() < text.size() ? head + "..." : text;
}

std::string TrimAtNull(const std::string& text) { return text.substr(0, text.find('\0')); }

const ClipId& ClipCollection::Tag(int slot) const {
    static const ClipId kEmpty;
    return slot >= 0 && slot < int(tags_.size()) && slot < kTagSlots ? tags_[slot] : kEmpty;
}

void ClipCollection::SetTag(int slot, const ClipId& tag) {
    if (slot < 0 || slot >= kTagSlots) return;
    if (slot + 1 >= int(tags_.size())) tags_.resize(std::size_t(slot) + 2);
    tags_[slot] = tag;
}

bool ClipCollection::HeldByLiveClip(HolderFamily family, HolderIndex index, int liveCount) const {
    for (int slot = 0; slot < liveCount && slot < int(tags_.size()); ++slot)
        if (FamilyOfKind(tags_[slot].kind) == family && tags_[slot].holder == index) return true;
    return false;
}

HolderIndex ClipCollection::NextHolderIndex(HolderFamily family, int liveCount) const {
    HolderIndex index = Counter(family);
    if (family == HolderFamily::kNone || !wrapped_[int(family)]) return index;
    // At most kTagSlots clips are live, so a free index is always near.
    while (HeldByLiveClip(family, index, liveCount))
        index = index == kLastHolderIndex ? 0 : index + 1;
    return index;
}

void ClipCollection::Advance(HolderFamily family, HolderIndex holderIndex) {
    if (family == HolderFamily::kNone) return;
    if (holderIndex == kLastHolderIndex) wrapped_[int(family)] = true;
    counters_[int(family)] = holderIndex == kLastHolderIndex ? 0 : holderIndex + 1;
}

HolderIndex ClipCollection::Counter(HolderFamily family) const {
    return family == HolderFamily::kNone ? 0 : counters_[int(family)];
}

void ClipCollection::ResetCounters(bool clipsRemain) {
    counters_.fill(0);
    wrapped_.fill(clipsRemain);
}

bool ClipCollection::InsertTag(int slot, const ClipId& tag, int liveCount) {
    if (slot < 0 || slot > liveCount || liveCount + 1 >= kTagSlots) return false;
    if (liveCount + 2 > int(tags_.size())) tags_.resize(std::size_t(liveCount) + 2);
    for (int i = liveCount; i > slot; --i) tags_[i] = std::move(tags_[i - 1]);
    tags_[slot] = tag;
    return true;
}

bool ClipCollection::InsertTags(int slot, const std::vector<ClipId>& tags, int liveCount) {
    const int added = int(tags.size());
    if (slot < 0 || slot > liveCount || liveCount + added >= kTagSlots) return false;
    if (liveCount + added + 2 > int(tags_.size())) tags_.resize(std::size_t(liveCount + added) + 2);
    std::move_backward(tags_.begin() + slot, tags_.begin() + liveCount, tags_.begin() + liveCount + added);
    std::copy(tags.begin(), tags.end(), tags_.begin() + slot);
    return true;
}

ClipId ClipCollection::RemoveTag(int slot, int liveCount) {
    if (slot < 0 || slot >= int(tags_.size()) || slot >= kTagSlots) return {};
    const ClipId removed = tags_[slot];
    const int end = std::min(liveCount, int(tags_.size()) - 1);
    for (int i = slot; i < end; ++i) tags_[i] = std::move(tags_[i + 1]);
    if (end >= slot) tags_[end] = {};
    return removed;
}

void ClipCollection::RemoveTags(const std::vector<int>& slots, int liveCount) {
    const int end = std::min(liveCount, int(tags_.size()));
    int kept = 0;
    for (int slot = 0, next = 0; slot < end; ++slot) {
        if (next < int(slots.size()) && slots[std::size_t(next)] == slot) {
            ++next;
            continue;
        }
        if (kept != slot) tags_[std::size_t(kept)] = std::move(tags_[std::size_t(slot)]);
        ++kept;
    }
    for (int slot = kept; slot < end; ++slot) tags_[std::size_t(slot)] = {};
}

}  // namespace clips
