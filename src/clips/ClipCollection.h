// The clip collection's bookkeeping: kinds, tags, labels, the tag table and the holder counters.
// A clip lives in three places that move together: a list item, a tag at the item's position, and
// a holder named by the tag. The holders themselves are Win32 objects (ClipHolders).
#pragma once

#include <array>
#include <vector>
#include <cstdint>
#include <string>

namespace clips {

const int kMaxClips = 25;             // the history's size unless the settings say otherwise
const int kMaxHistoryClips = 100000;  // the most the settings may ask for, and the most clips pinned
const int kTagSlots = 2 * kMaxHistoryClips + 1;  // the history, its pins past the limit, and a new clip
const std::size_t kLabelLength = 40;

const char kKindText[] = "TXT";
const char kKindPicture[] = "PIC";
const char kKindRichText[] = "RTF";
const char kKindFileList[] = "FIL";
const char kPictureLabel[] = "<Graphic Image Clip>";

// Format-mask weights of the clipboard formats the capture knows; a file list alone makes mask 15.
enum FormatWeight { kMaskText = 1, kMaskBitmap = 2, kMaskDib = 4, kMaskRichText = 8, kMaskFileList = 15 };

// A holder's number within its family.
using HolderIndex = std::int32_t;
const HolderIndex kLastHolderIndex = 0x7FFFFFFF;

// Text and file-list clips share the text holders and their counter.
enum class HolderFamily { kText, kPicture, kRichText, kNone };

// The clip kind a format mask stands for, or "" when nothing is captured. Mask 15 is a file list;
// contents that offer all four formats at once are told apart by the caller (see KindForFormats).
std::string KindForMask(int mask);
// Kind for the formats on offer: the file list only when none of the four others is there, and the
// four together (which add up to the file-list mask) as rich text. A picture offered only as PNG, with
// nothing else the capture knows, is a picture like any other.
std::string KindForFormats(bool text, bool bitmap, bool dib, bool richText, bool fileList, bool png = false);

HolderFamily FamilyOfKind(const std::string& kind);
std::int16_t IconOfKind(const std::string& kind);

// A clip's kind as a ClipId keeps it: in the id itself, not a string on the heap (a long history has two ids for
// each clip). The kinds are short words; anything longer is no kind, kept as "".
class KindName {
public:
    KindName() = default;
    KindName(const std::string& kind) { Assign(kind.data(), kind.size()); }
    KindName(const char* kind) { Assign(kind, std::char_traits<char>::length(kind)); }
    operator std::string() const { return std::string(text_, length_); }
    bool empty() const { return length_ == 0; }
    friend bool operator==(const KindName& a, const KindName& b) {
        return a.length_ == b.length_ && std::char_traits<char>::compare(a.text_, b.text_, a.length_) == 0;
    }
    friend bool operator!=(const KindName& a, const KindName& b) { return !(a == b); }

private:
    void Assign(const char* kind, std::size_t length) {
        if (length >= sizeof(text_)) return;
        std::char_traits<char>::copy(text_, kind, length);
        length_ = std::uint8_t(length);
    }
    char text_[7] = {};
    std::uint8_t length_ = 0;
};

// Which clip: its kind and the index of the holder that keeps it. Spelled out as a tag ("TXT90") only
// where a user sees it, in the names of the files Save Results writes.
struct ClipId {
    KindName kind;  // "" for no clip
    HolderIndex holder = 0;
    bool empty() const { return kind.empty(); }
    bool operator==(const ClipId& o) const { return kind == o.kind && holder == o.holder; }
    bool operator!=(const ClipId& o) const { return !(*this == o); }
};
std::string TagText(const ClipId& id);

// 40 characters (code points) and "..." when longer; drawn as it is (an ampersand is no prefix).
std::string ListLabel(const std::string& text);

// The text up to its first NUL.
std::string TrimAtNull(const std::string& text);

class ClipCollection {
public:
    const ClipId& Tag(int slot) const;  // no clip outside the table
    void SetTag(int slot, const ClipId& id);

    // The holder index the next clip of this family takes: the family's counter, unless a live clip
    // (one of the first liveCount slots) of the family already holds it, which can happen only after
    // the counter wrapped past kLastHolderIndex; then the next index no live clip holds.
    HolderIndex NextHolderIndex(HolderFamily family, int liveCount) const;
    // After storing a clip at holderIndex: the counter moves past it, from kLastHolderIndex back to 0.
    void Advance(HolderFamily family, HolderIndex holderIndex);
    HolderIndex Counter(HolderFamily family) const;
    // Back to 0; with clips still live (pinned ones after Delete All) new indices are checked against them.
    void ResetCounters(bool clipsRemain = false);

    // Puts tag at slot, moving the slots from it (up to liveCount) up by one.
    // False (nothing changes) when the slots are full or slot is out of range.
    bool InsertTag(int slot, const ClipId& id, int liveCount);
    // The same for many at once, in their order (the older clips of a long history, listed behind the others).
    bool InsertTags(int slot, const std::vector<ClipId>& tags, int liveCount);
    // Takes slot index out, moving the slots above it (up to liveCount) down by one; returns its tag.
    ClipId RemoveTag(int slot, int liveCount);
    void RemoveTags(const std::vector<int>& slots, int liveCount);  // ascending, each once

private:
    bool HeldByLiveClip(HolderFamily family, HolderIndex index, int liveCount) const;

    std::vector<ClipId> tags_;  // grown as clips come, up to kTagSlots and a spare the shift reads
    std::array<HolderIndex, 3> counters_{};
    // Until a family's counter wraps, every live clip of it holds an index below the counter: the
    // counter itself is free without a look through the table (thousands of clips at start-up).
    std::array<bool, 3> wrapped_{};
};

}  // namespace clips
