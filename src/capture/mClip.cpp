#include "capture/mClip.h"

#include "capture/ClipboardAccess.h"
#include "cliplist/ucClipList.h"

namespace capture {

namespace {
CaptureHost* gHost = nullptr;
ClipCollection gTags;
ClipHolders gHolders;
}  // namespace

void SetCaptureHost(CaptureHost* host) { gHost = host; }
CaptureHost* Host() { return gHost; }
ClipCollection& ClipTags() { return gTags; }
ClipHolders& Holders() { return gHolders; }

void RemoveOldestClip() {
    if (!gHost) return;
    auto& list = gHost->ClipList().Model();
    const std::string tag = gTags.Tag(0);
    const std::int16_t index = TagHolderIndex(tag);
    gHolders.Release(FamilyOfKind(TagKind(tag)), index);
    gTags.RemoveTag(0, list.ListCount());
    list.RemoveItem(0);
}

std::string ClipText(const std::string& tag) {
    const std::string kind = TagKind(tag);
    const std::int16_t index = TagHolderIndex(tag);
    if (kind == kKindText || kind == kKindFileList) {
        const std::string* text = gHolders.Text(index);
        return text ? *text : "";
    }
    if (kind == kKindRichText) {
        // The source's own plain text where it offered one; the box's reading of the markup otherwise.
        if (const ClipFormats* kept = gHolders.Kept(HolderFamily::kRichText, index))
            if (const ClipFormat* unicode = FindFormat(*kept, CF_UNICODETEXT)) return Utf8OfUnicodeBlock(unicode->bytes);
        const RichTextHolder* box = gHolders.RichText(index);
        return box ? box->PlainText() : "";
    }
    return "";
}

}  // namespace capture
