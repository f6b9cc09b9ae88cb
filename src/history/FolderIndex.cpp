#include "history/FolderIndex.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "history/ClipFileFields.h"
#include "history/DiskFiles.h"

namespace history {

namespace {

const char kIndexMagic[8] = {'A', 'R', 'D', 'I', 'D', 'X', '\r', '\n'};
// 3 adds what search reads; an index of version 2 is read all the same (search reads those clips' files).
const std::uint64_t kIndexVersion = 3;
const std::uint64_t kSearchlessIndexVersion = 2;
const std::uint64_t kMostSearchTextBytes = 256 * 1024;  // 64 K characters

// The folder's path as one text in any case (Windows' paths are alike in any case) and without a last slash.
std::string FolderText(const std::filesystem::path& folder) {
    std::string name = folder.lexically_normal().generic_u8string();
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Each block is sealed bound to the folder's path and to its place: an index copied over another folder's,
// or blocks dropped, repeated or reordered, are refused, not believed.
std::string AssociatedWith(const std::filesystem::path& folder, std::size_t block, std::size_t blocks) {
    return "Ardentia folder index\n" + FolderText(folder) + "\n" + std::to_string(block) + "/" +
           std::to_string(blocks);
}

std::string EncodeBlock(const IndexedFolder& indexed, std::size_t from, std::size_t to) {
    std::string out;
    PutNumber(out, std::uint32_t(indexed.damaged), 4);
    PutNumber(out, std::uint32_t(indexed.unsealed), 4);
    PutNumber(out, to - from, 4);
    for (std::size_t i = from; i < to; ++i) {
        const IndexedClip& indexedClip = indexed.clips[i];
        const StoredClip& clip = indexedClip.clip;
        const std::string name = clip.Name();
        PutNumber(out, name.size(), 2);
        out += name;
        PutNumber(out, clip.id.capturedAtMs, 8);
        PutNumber(out, clip.id.machine, 4);
        PutNumber(out, clip.id.content, 8);
        PutNumber(out, clip.bytes, 8);
        PutNumber(out, std::uint64_t(indexedClip.written.time_since_epoch().count()), 8);
        const std::string header = HeaderBlock(clip.header);
        PutNumber(out, header.size(), 4);
        out += header;
        const auto& search = indexedClip.search;
        const bool searchable = search && search->markup.empty() && search->text.size() <= kMostSearchTextBytes;
        PutNumber(out, searchable ? 1 : 0, 1);
        if (!searchable) continue;
        PutNumber(out, search->text.size(), 4);
        out += search->text;
        PutNumber(out, search->width, 4);
        PutNumber(out, search->height, 4);
    }
    return out;
}

bool DecodeSearchText(FieldReader& in, IndexedClip& indexed) {
    std::uint64_t searchable = 0, bytes = 0, width = 0, height = 0;
    if (!in.Number(searchable, 1) || searchable > 1) return false;
    if (!searchable) return true;
    StoredSearchText search;
    search.kind = indexed.clip.header.kind;
    if (!in.Number(bytes, 4) || bytes > kMostSearchTextBytes || !in.Bytes(search.text, bytes) ||
        !in.Number(width, 4) || !in.Number(height, 4))
        return false;
    search.width = unsigned(width), search.height = unsigned(height);
    indexed.search = std::move(search);
    return true;
}

std::optional<std::vector<IndexedClip>> DecodeBlock(const std::string& bytes, const std::filesystem::path& folder,
                                                    bool withSearch, int& damaged, int& unsealed) {
    FieldReader in(bytes, bytes.size());
    std::uint64_t damagedRead = 0, unsealedRead = 0, count = 0;
    if (!in.Number(damagedRead, 4) || !in.Number(unsealedRead, 4) || !in.Number(count, 4) ||
        count > kIndexBlockClips)
        return std::nullopt;
    damaged = int(std::min<std::uint64_t>(damagedRead, 1u << 30));
    unsealed = int(std::min<std::uint64_t>(unsealedRead, 1u << 30));
    using Ticks = std::filesystem::file_time_type::duration;
    std::vector<IndexedClip> clips(count);
    for (IndexedClip& indexed : clips) {
        StoredClip& clip = indexed.clip;
        std::uint64_t nameBytes = 0, machine = 0, ticks = 0, headerBytes = 0;
        std::string name, header;
        if (!in.Number(nameBytes, 2) || !in.Bytes(name, nameBytes) || !IsClipFileName(name) ||
            name.find_first_of("/\\:") != std::string::npos || !in.Number(clip.id.capturedAtMs, 8) ||
            !in.Number(machine, 4) || !in.Number(clip.id.content, 8) || !in.Number(clip.bytes, 8) ||
            !in.Number(ticks, 8) || !in.Number(headerBytes, 4) || !in.Bytes(header, headerBytes))
            return std::nullopt;
        clip.id.machine = std::uint32_t(machine);
        FieldReader fields(header, header.size());
        ClipFileError error = ClipFileError::kNone;
        if (!ReadHeaderBlock(fields, clip.header, error) || !fields.AtEnd()) return std::nullopt;
        clip.header.fileBytes = clip.bytes;
        if (name != ClipFileName(clip.id)) clip.otherFile = (folder / std::filesystem::u8path(name)).native();
        indexed.written = std::filesystem::file_time_type(Ticks(static_cast<Ticks::rep>(ticks)));
        if (withSearch && !DecodeSearchText(in, indexed)) return std::nullopt;
    }
    if (!in.AtEnd()) return std::nullopt;
    return clips;
}

}  // namespace

bool SaveFolderIndex(const std::filesystem::path& index, const std::filesystem::path& folder,
                     const IndexedFolder& indexed, const common::Sealer& sealer) {
    const std::size_t count = indexed.clips.size();
    const std::size_t older = count - std::min(count, kNewestIndexBlockClips);
    const std::size_t blocks = 1 + (older + kIndexBlockClips - 1) / kIndexBlockClips;
    std::string out(kIndexMagic, sizeof(kIndexMagic));
    PutNumber(out, kIndexVersion, 4);
    PutNumber(out, blocks, 4);
    for (std::size_t block = 0; block < blocks; ++block) {
        // Block 0 ends with the newest clip.
        const std::size_t to = block == 0 ? count : older - std::min(older, (block - 1) * kIndexBlockClips);
        const std::size_t from = to - std::min(to, block == 0 ? kNewestIndexBlockClips : kIndexBlockClips);
        const auto sealed = sealer.Seal(EncodeBlock(indexed, from, to), AssociatedWith(folder, block, blocks));
        if (!sealed) return false;
        PutNumber(out, sealed->size(), 8);
        out += *sealed;
    }
    std::error_code ignored;
    std::filesystem::create_directories(index.parent_path(), ignored);
    return WriteFileWhole(index, out);
}

// At start only the newest block is read (a long history's index runs to megabytes); the others when asked for.
bool FolderIndexBlocks::Read(const std::filesystem::path& index, const std::filesystem::path& folder,
                             std::shared_ptr<const common::Sealer> sealer) {
    Forget();
    broken_ = false;
    count_ = 0;
    file_ = index;
    folder_ = folder;
    sealer_ = std::move(sealer);
    const std::size_t headBytes = sizeof(kIndexMagic) + 4 + 4 + 8;
    const auto head = ReadLeadingBytes(index, headBytes);
    if (!sealer_ || !head || head->size() < headBytes) return false;
    FieldReader in(*head, head->size());
    std::string magic;
    std::uint64_t version = 0, count = 0, newest = 0;
    if (!in.Bytes(magic, sizeof(kIndexMagic)) || magic != std::string(kIndexMagic, sizeof(kIndexMagic)) ||
        !in.Number(version, 4) || (version != kIndexVersion && version != kSearchlessIndexVersion) ||
        !in.Number(count, 4) || count == 0 || !in.Number(newest, 8) || newest > kMostIndexBytes)
        return false;
    const auto leading = ReadLeadingBytes(index, headBytes + std::size_t(newest));
    if (!leading || leading->size() != headBytes + newest) return false;
    withSearch_ = version == kIndexVersion;
    bytes_ = *leading;
    count_ = std::size_t(count);
    blocks_.emplace_back(headBytes, std::size_t(newest));
    return true;
}

bool FolderIndexBlocks::ReadAll() const {
    if (broken_) return false;
    if (blocks_.size() == count_) return true;
    std::string all;
    // The file as it was when its newest block was read, or none of it.
    if (!ReadFileWithin(file_, kMostIndexBytes, all) || all.compare(0, bytes_.size(), bytes_) != 0) return Forget();
    FieldReader in(all, all.size());
    std::string skipped;
    if (!in.Bytes(skipped, sizeof(kIndexMagic) + 8)) return Forget();
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    for (std::size_t n = 0; n < count_; ++n) {
        std::uint64_t size = 0;
        if (!in.Number(size, 8) || size > all.size() - in.At()) return Forget();
        blocks.emplace_back(in.At(), std::size_t(size));
        if (!in.Bytes(skipped, size)) return Forget();
    }
    if (!in.AtEnd()) return Forget();
    bytes_ = std::move(all);
    blocks_ = std::move(blocks);
    return true;
}

bool FolderIndexBlocks::Forget() const {
    broken_ = true;
    blocks_.clear();
    bytes_.clear();
    return false;
}

std::optional<std::vector<IndexedClip>> FolderIndexBlocks::Block(std::size_t n) const {
    if (broken_ || n >= count_ || (n >= blocks_.size() && !ReadAll())) return std::nullopt;
    const auto plain = sealer_->Open(bytes_.substr(blocks_[n].first, blocks_[n].second),
                                     AssociatedWith(folder_, n, count_));
    if (!plain) return std::nullopt;
    int damaged = 0, unsealed = 0;
    auto clips = DecodeBlock(*plain, folder_, withSearch_, damaged, unsealed);
    if (n == 0) damaged_ = damaged, unsealed_ = unsealed;
    return clips;
}

std::filesystem::path FolderIndexFile(const std::filesystem::path& indexes, const std::filesystem::path& folder) {
    const std::string name = FolderText(folder);
    char hex[17];
    std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(Checksum(name.data(), name.size())));
    return indexes / (std::string(hex) + ".index");
}

}  // namespace history
