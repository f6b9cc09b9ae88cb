#include "history/HistoryStoreFiles.h"

#include <algorithm>

#include "clips/ClipLimits.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/FileListText.h"
#include "history/HistoryFolder.h"
#include "history/HistoryStore.h"
#include "pictures/PngPicture.h"
#include "cliplist/ClipListControl.h"
#include "common/Utf8.h"
#include "common/WindowText.h"

namespace history {

std::string StoredFormatName(UINT format) {
    if (format < 0xC000) return "#" + std::to_string(format);
    wchar_t name[256] = {};
    const int length = GetClipboardFormatNameW(format, name, 256);
    return length > 0 ? common::Narrow(name, std::size_t(length)) : "";
}

UINT FormatOfStoredName(const std::string& name) {
    // Only what the capture keeps comes back: any other name would register a format for the whole logon,
    // and a handle's number or a shell transfer format would go on the clipboard as bytes from a file.
    if (name == "#13") return CF_UNICODETEXT;
    if (name == "#15") return CF_HDROP;
    for (UINT format :
         {clipboard::RichTextFormat(), clipboard::HtmlFormat(), pictures::PngFormat(), clipboard::DropEffectFormat()})
        if (name == StoredFormatName(format)) return format;
    return 0;
}

bool HistoryStore::ContentsOfClip(const clips::ClipId& tag, std::optional<ClipFileContents>& contents) {
    contents.reset();
    const std::string kind = tag.kind;
    const clips::HolderIndex index = tag.holder;
    const clips::HolderFamily family = clips::FamilyOfKind(kind);
    ClipFileContents clip;
    clip.header.kind = kind;
    if (kind == clips::kKindPicture) {
        const std::string* png = nullptr;
        if (!clips_.Holders().Pictures().PngReady(index, png)) return false;
        if (!png) return true;
        // The source's PNG is among the kept formats; the picture's own is written apart.
        const clips::ClipFormats* kept = clips_.Holders().Kept(family, index);
        if (!kept || !clips::FindFormat(*kept, pictures::PngFormat()))
            clip.formats.push_back({kPictureEntryName, *png});
    } else if (kind == clips::kKindText) {
        const std::string* text = clips_.Holders().Text(index);
        if (!text) return true;
        clip.formats.push_back({StoredFormatName(CF_UNICODETEXT), clips::UnicodeTextFormat(*text).bytes});
    }
    if (const clips::ClipFormats* kept = clips_.Holders().Kept(family, index))
        for (const clips::ClipFormat& format : *kept) {
            const std::string name = StoredFormatName(format.format);
            if (!name.empty()) clip.formats.push_back({name, format.bytes});
        }
    if (!clip.formats.empty()) contents = std::move(clip);
    return true;
}

bool HistoryStore::FillHolderFromFile(const ClipFileContents& clip, clips::HolderIndex index) {
    const std::string& kind = clip.header.kind;
    const clips::HolderFamily family = clips::FamilyOfKind(kind);
    if (family == clips::HolderFamily::kNone) return false;
    clips::ClipFormats kept;
    std::string text, picture;
    for (const StoredFormat& stored : clip.formats) {
        if (stored.name == kPictureEntryName) picture = stored.bytes;
        const UINT format = FormatOfStoredName(stored.name);
        // A text clip's text is held apart from the formats it keeps; a rich text clip keeps its source's.
        if (format == CF_UNICODETEXT && kind == clips::kKindText) text = clips::Utf8OfUnicodeBlock(stored.bytes);
        else if (format) kept.push_back({format, stored.bytes});
    }
    const clips::ClipFormat* png = FindFormat(kept, pictures::PngFormat());
    const clips::ClipFormat* rtf = FindFormat(kept, clipboard::RichTextFormat());
    const clips::ClipFormat* drop = FindFormat(kept, CF_HDROP);
    if (kind == clips::kKindFileList) text = drop ? clipboard::FileListText(drop->bytes) : "";
    std::uint64_t width = 0, height = 0;
    const std::string& pictureBytes = png ? png->bytes : picture;
    if (kind == clips::kKindPicture &&
        (!pictures::PngSize(pictureBytes, width, height) || !pictures::TooLargeForPicture(width, height).empty()))
        return false;
    if ((kind == clips::kKindText || kind == clips::kKindFileList) && text.empty()) return false;
    if (kind == clips::kKindRichText && !rtf) return false;

    clips_.Holders().Create(family, index);
    // The formats first: a picture that keeps its source's PNG finds it among them.
    const bool sourcePng = png != nullptr;
    clips::ClipFormats* keptHere = clips_.Holders().Kept(family, index);
    if (!keptHere) return false;
    *keptHere = std::move(kept);
    rtf = clips::FindFormat(*keptHere, clipboard::RichTextFormat());
    bool held = false;
    if (kind == clips::kKindPicture) {
        held = clips_.Holders().Pictures().SetCompressed(index, unsigned(width), unsigned(height), sourcePng,
                                                  sourcePng ? std::string() : picture);
    } else if (kind == clips::kKindRichText) {
        clips::RichTextHolder* box = clips_.Holders().RichText(index);
        held = box && (box->SetMarkup(clips::TrimAtNull(rtf->bytes)) || !box->PlainText().empty());
    } else if (std::string* holder = clips_.Holders().Text(index)) {
        *holder = text;
        held = true;
    }
    return held;
}

bool ReadSearchTextOfFile(const std::filesystem::path& file, const common::Sealer& sealer, StoredSearchText& read) {
    std::optional<ClipFileContents> clip;
    if (!ReadStoredClip(file, sealer, clip)) return false;
    read = {};
    read.kind = clip->header.kind;
    const std::string* rtf = nullptr;
    for (const StoredFormat& stored : clip->formats) {
        const UINT format = FormatOfStoredName(stored.name);
        if (format == CF_UNICODETEXT)
            read.text = clips::Utf8OfUnicodeBlock(stored.bytes.substr(0, 2 * kStoredSearchChars));
        if (format == CF_HDROP && read.text.empty()) read.text = clipboard::FileListText(stored.bytes);
        if (format == clipboard::RichTextFormat()) rtf = &stored.bytes;
        std::uint64_t w = 0, h = 0;
        if ((stored.name == kPictureEntryName || format == pictures::PngFormat()) &&
            pictures::PngSize(stored.bytes, w, h))
            read.width = unsigned(w), read.height = unsigned(h);
    }
    // Rich text its source offered alone (as Linux programs do) has no plain text to read here.
    if (read.text.empty() && rtf) read.markup = clips::TrimAtNull(rtf->substr(0, kStoredSearchRtfBytes));
    return true;
}

void HistoryStore::ReadMarkupOf(StoredSearchText& read) {
    if (read.markup.empty()) return;
    read.text = common::Utf8Prefix(clips_.Holders().PlainTextOf(read.markup), kStoredSearchChars);
    read.markup.clear();
}

clips::ClipId HistoryStore::InsertListedClip(const ClipFileHeader& header, int position) {
    auto& list = clips_.Host()->ClipList().Model();
    const int count = list.ListCount();
    position = std::clamp(position, 0, count);
    const clips::HolderFamily family = clips::FamilyOfKind(header.kind);
    const clips::ClipId tag{header.kind, clips_.Tags().NextHolderIndex(family, count)};
    // Every slot taken (pins past any limit): the clip is not listed, and the list keeps step with the tags.
    if (!clips_.Tags().InsertTag(position, tag, count)) return {};
    const std::int16_t icon = clips::IconOfKind(header.kind);
    if (position == count) list.AddItem(header.label, icon, icon);
    else list.InsertItem(position, header.label, icon, icon);
    list.SetItemPinned(position, header.pinned);
    clips_.Tags().Advance(family, tag.holder);
    return tag;
}

bool ReadStoredClip(const std::filesystem::path& file, const common::Sealer& sealer,
                    std::optional<ClipFileContents>& clip) {
    std::string bytes;
    ClipFileError error = ClipFileError::kNone;
    clip = ReadFileWithin(file, clips::MaxClipFileBytes(clips::kKindPicture), bytes)
               ? ReadSealedClipFile(bytes, sealer, error)
               : std::nullopt;
    return clip.has_value();
}

int HistoryStore::ReadNewestWhole() {
    int damaged = 0;
    const int count = clips_.Host()->ClipList().Model().ListCount();
    for (int position = count - 1; position >= 0 && position >= count - int(kClipsReadAtStart); --position) {
        const clips::ClipId tag = clips_.Tags().Tag(position);
        if (ClipHeld(tag)) continue;
        if (!LoadClip(tag)) {
            DropDamagedClip(position);
            ++damaged;
        }
    }
    return damaged;
}

std::string HistoryStore::Restore(const HistoryLimits& limits, const std::function<bool()>& sealAgain) {
    if (!clips_.Host() || !state_.open) return "";
    HistoryListing listing = ListAtStart();
    if (listing.unsealed > 0 && sealAgain && sealAgain()) listing = ListAtStart(true);
    // What is beyond the limits goes now, oldest unpinned first, as it would have gone while running; with
    // older blocks of the index still to list, once they are.
    const std::vector<std::size_t> removed =
        indexBlocks_ || listing.partial ? std::vector<std::size_t>() : ClipsToRemove(listing.clips, limits);
    std::vector<bool> gone(listing.clips.size(), false);
    for (std::size_t i : removed) {
        gone[i] = true;
        // Another machine's files are its own to trim: this machine only lists fewer of them.
        if (WrittenHere(listing.clips[i].id)) DeleteStoredFile(listing.clips[i].File(Folder()));
        else UnlistStoredFile(listing.clips[i].id);
    }
    std::vector<const StoredClip*> kept;
    for (std::size_t i = 0; i < listing.clips.size(); ++i)
        if (!gone[i]) kept.push_back(&listing.clips[i]);
    InsertListedClips(clips_.Host()->ClipList().Model().ListCount(), kept);
    const int damaged = listing.damaged + ReadNewestWhole();
    if (!indexBlocks_) ReadSearchTextsAhead();
    // A folder listed from its files is indexed at once: the next start, after a crash too, opens none.
    if (inStep_) SaveIndex();
    return SkippedFilesLine(damaged, listing.unsealed);
}

HistoryStore::ManyRemovals::ManyRemovals(HistoryStore& store) : store_(store) {
    if (store_.state_.removingMany++ == 0) store_.state_.searchTexts.HoldPacking();
}

// A destructor throws nothing: without memory for the deletes' job, the files stay (their clips are gone from the
// list, and no listing brings them back while the program runs).
HistoryStore::ManyRemovals::~ManyRemovals() {
    if (--store_.state_.removingMany > 0) return;
    try {
        if (!store_.state_.deletesNamed.empty())
            store_.state_.worker.DeleteMany(store_.state_.folder, std::exchange(store_.state_.deletesNamed, {}));
    } catch (const std::exception&) {
        store_.state_.deletesNamed.clear();
    }
    try {
        store_.state_.searchTexts.ReleasePacking();
    } catch (const std::exception&) {
    }
}

}  // namespace history
