// The headers an earlier listing read, packed: a record each in one vector, the labels and the few names that
// are not their ids' in one text, so that a long history's cache is two blocks, not hundreds of thousands.
#include "history/HistoryFolder.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "clips/ClipCollection.h"

namespace history {

namespace {

const char* const kKinds[] = {clips::kKindText, clips::kKindRichText, clips::kKindPicture, clips::kKindFileList};

std::uint8_t KindCode(const std::string& kind) {
    for (std::size_t i = 0; i < std::size(kKinds); ++i)
        if (kind == kKinds[i]) return std::uint8_t(i + 1);
    return 0;
}

// A file's key: the id its name gives, and the name itself when the id does not give it.
struct Key {
    ClipFileId id;
    std::string name;
};

Key KeyOf(const StoredClip& clip) {
    if (clip.otherFile.empty()) return {clip.id, {}};
    Key key{{}, clip.Name()};
    bool exact = false;
    if (const auto id = ParseClipFileName(key.name, exact)) key.id = *id;
    return key;
}

}  // namespace

std::filesystem::path StoredClip::File(const std::filesystem::path& folder) const {
    return otherFile.empty() ? std::filesystem::path(ClipFilePathText(folder, id)) : std::filesystem::path(otherFile);
}

std::string StoredClip::Name() const {
    return otherFile.empty() ? ClipFileName(id) : NameOf(std::filesystem::path(otherFile)).value_or("");
}

std::string_view HeaderCache::NameOf(const Record& record) const {
    return std::string_view(texts_).substr(record.textAt + record.labelBytes, record.nameBytes);
}

bool HeaderCache::Before(const Record& a, const ClipFileId& key, std::string_view name) const {
    if (!(a.key == key)) return a.key < key;
    return NameOf(a) < name;
}

void HeaderCache::Sort() const {
    if (sorted_) return;
    std::stable_sort(records_.begin(), records_.end(),
                     [&](const Record& a, const Record& b) { return Before(a, b.key, NameOf(b)); });
    // Of one file put twice, the last put stays.
    std::vector<Record> kept;
    kept.reserve(records_.size());
    for (const Record& record : records_) {
        if (!kept.empty() && kept.back().key == record.key && NameOf(kept.back()) == NameOf(record))
            kept.back() = record;
        else
            kept.push_back(record);
    }
    records_ = std::move(kept);
    sorted_ = true;
}

void HeaderCache::Put(const StoredClip& clip, std::filesystem::file_time_type written) {
    const std::uint8_t kind = KindCode(clip.header.kind);
    const Key key = KeyOf(clip);
    const auto most = std::numeric_limits<std::uint16_t>::max();
    if (!kind || clip.header.label.size() > most || key.name.size() > most ||
        texts_.size() + clip.header.label.size() + key.name.size() > std::numeric_limits<std::uint32_t>::max())
        return;
    Record record;
    record.key = key.id;
    record.bytes = clip.bytes;
    record.written = written.time_since_epoch().count();
    record.capturedAtMs = clip.header.capturedAtMs;
    record.textAt = std::uint32_t(texts_.size());
    record.labelBytes = std::uint16_t(clip.header.label.size());
    record.nameBytes = std::uint16_t(key.name.size());
    record.kind = kind;
    record.pinned = clip.header.pinned;
    texts_ += clip.header.label;
    texts_ += key.name;
    // Put in order (an index's clips, a folder's files by name) they stay sorted.
    if (sorted_ && !records_.empty() && !Before(records_.back(), key.id, key.name)) sorted_ = false;
    records_.push_back(record);
}

std::optional<HeaderCache::Known> HeaderCache::Find(const StoredClip& clip) const {
    Sort();
    const Key key = KeyOf(clip);
    const auto it = std::lower_bound(records_.begin(), records_.end(), 0, [&](const Record& record, int) {
        return Before(record, key.id, key.name);
    });
    if (it == records_.end() || !(it->key == key.id) || NameOf(*it) != key.name) return std::nullopt;
    Known known;
    known.bytes = it->bytes;
    known.written = std::filesystem::file_time_type(std::filesystem::file_time_type::duration(it->written));
    known.header.kind = kKinds[it->kind - 1];
    known.header.capturedAtMs = it->capturedAtMs;
    known.header.pinned = it->pinned;
    known.header.label.assign(texts_, it->textAt, it->labelBytes);
    known.header.fileBytes = it->bytes;
    return known;
}

void HeaderCache::Settle() {
    Sort();
    records_.shrink_to_fit();
    texts_.shrink_to_fit();
}

void HeaderCache::Clear() {
    records_ = {};
    texts_ = {};
    sorted_ = true;
}

}  // namespace history
