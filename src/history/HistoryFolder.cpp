#include "history/HistoryFolder.h"

#include "clips/ClipCollection.h"
#include "clips/ClipLimits.h"
#include "common/SettingNumber.h"
#include "history/DiskFiles.h"
#include "history/SealedClipFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>
#include <system_error>


namespace history {

std::optional<std::string> NameOf(const std::filesystem::path& file) {
    try {
        return file.filename().u8string();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool FromTheFuture(std::uint64_t capturedAtMs) {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    return capturedAtMs > std::uint64_t(now) + 24ull * 3600 * 1000;
}

namespace {

const char kClipExtension[] = ".clip";
const char kUnfinishedExtension[] = ".part";

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A file shorter than its header says, written to this recently, is taken for one a file-sync service is
// still bringing: its next change is seen, and it is no damaged file meanwhile.
const auto kStillArriving = std::chrono::minutes(10);

enum class FileState { kWhole, kArriving, kDamaged, kUnsealed };

// Whether a file is a whole clip file of ours by its header and length, and that header when it is.
FileState HeaderOf(const std::filesystem::path& path, std::uint64_t bytes, const common::Sealer& sealer,
                   ClipFileHeader& header) {
    // Not brought down from the cloud to be listed: it shows once it is here (the index lists it meanwhile).
    if (LeftInTheCloud(path)) return FileState::kArriving;
    const auto leading = ReadLeadingBytes(path, kClipFileHeaderRead);
    if (!leading) return FileState::kDamaged;
    ClipFileError why = ClipFileError::kNone;
    const auto read = ReadSealedClipFileHeader(*leading, sealer, why);
    if (why == ClipFileError::kNotSealed) return FileState::kUnsealed;
    const bool cutShort = why == ClipFileError::kTruncated || (read && read->fileBytes > bytes);
    if (cutShort) {
        std::error_code unknown;
        const auto written = std::filesystem::last_write_time(path, unknown);
        const bool recent = !unknown && std::filesystem::file_time_type::clock::now() - written < kStillArriving;
        return recent ? FileState::kArriving : FileState::kDamaged;
    }
    // The length the writer gave the file tells one cut short without reading it all.
    if (!read || read->fileBytes != bytes || bytes > clips::MaxClipFileBytes(read->kind)) return FileState::kDamaged;
    header = *read;
    return FileState::kWhole;
}

// Whether a file holds what its name says (the hash of its formats), read whole within its kind's bound.
bool ContentMatchesName(const StoredClip& clip, const std::filesystem::path& folder, const common::Sealer& sealer) {
    std::string bytes;
    if (!ReadFileWithin(clip.File(folder), clips::MaxClipFileBytes(clip.header.kind), bytes)) return false;
    ClipFileError error = ClipFileError::kNone;
    const auto contents = ReadSealedClipFile(bytes, sealer, error);
    return contents && SealedContentId(contents->formats, sealer) == clip.id.content;
}

}  // namespace

std::string ClipFileName(const ClipFileId& id) {
    char name[64];
    std::snprintf(name, sizeof(name), "%013llu-%08lx-%016llx%s", static_cast<unsigned long long>(id.capturedAtMs),
                  static_cast<unsigned long>(id.machine), static_cast<unsigned long long>(id.content), kClipExtension);
    return name;
}

std::optional<ClipFileId> ParseClipFileName(const std::string& name, bool& exact) {
    exact = false;
    if (!IsClipFileName(name)) return std::nullopt;
    const std::string stem = name.substr(0, name.size() - std::strlen(kClipExtension));
    const auto isHex = [&](std::size_t from, std::size_t count) {
        return stem.size() >= from + count &&
               stem.find_first_not_of("0123456789abcdef", from) >= from + count;
    };
    if (stem.size() < 13 + 1 + 16 || stem.find_first_not_of("0123456789") != 13 || stem[13] != '-') return std::nullopt;
    ClipFileId id;
    id.capturedAtMs = std::stoull(stem.substr(0, 13));
    std::size_t end = 0;
    if (isHex(14, 8) && stem.size() > 22 && stem[22] == '-' && isHex(23, 16)) {
        id.machine = std::uint32_t(std::stoul(stem.substr(14, 8), nullptr, 16));
        id.content = std::stoull(stem.substr(23, 16), nullptr, 16);
        end = 39;
    } else if (isHex(14, 16)) {
        id.content = std::stoull(stem.substr(14, 16), nullptr, 16);
        end = 30;
    } else {
        return std::nullopt;
    }
    // More after the id (" (conflicted copy)", ".sync-conflict-…", " (1)") marks another program's copy;
    // more hex digits would make it another id altogether.
    if (stem.size() > end && std::isxdigit(static_cast<unsigned char>(stem[end]))) return std::nullopt;
    exact = stem.size() == end;
    return id;
}

std::filesystem::path::string_type ClipFilePathText(const std::filesystem::path& folder, const ClipFileId& id) {
    std::filesystem::path::string_type text = folder.native();
    if (!text.empty() && text.back() != std::filesystem::path::preferred_separator && text.back() != '/')
        text += std::filesystem::path::preferred_separator;
    for (const char c : ClipFileName(id)) text += std::filesystem::path::value_type(c);  // ASCII
    return text;
}

bool IsClipFileName(const std::string& name) { return EndsWith(name, kClipExtension); }

std::vector<std::filesystem::path> ClipFilesIn(const std::filesystem::path& folder, std::error_code& error) {
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (IsClipFileName(NameOf(it->path()).value_or(""))) files.push_back(it->path());
    return files;
}

int RemoveUnfinishedFiles(const std::filesystem::path& folder, std::uint32_t machine) {
    std::vector<std::filesystem::path> leftovers;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = NameOf(it->path()).value_or("");
        if (!EndsWith(name, kUnfinishedExtension)) continue;
        bool exact = false;
        const auto id = ParseClipFileName(name.substr(0, name.size() - std::strlen(kUnfinishedExtension)), exact);
        if (id && exact && id->machine == machine) leftovers.push_back(it->path());
    }
    int removed = 0;
    std::string why;
    for (const auto& file : leftovers) removed += DeleteOnce(file, why) ? 1 : 0;
    return removed;
}

namespace {

// One clip for one id (the exact name before a conflict copy) and one for one content (the newest); the files
// not whole counted by their state.
void ListWholeFiles(std::vector<StoredClip>& found, const std::vector<FileState>& state,
                    const std::filesystem::path& folder, const common::Sealer& sealer, HistoryListing& listing) {
    // Sorted vectors, not maps: a long history's listing would leave hundreds of thousands of small blocks behind.
    std::vector<std::size_t> whole;  // in the order found
    std::vector<bool> exact(found.size(), false);
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (state[i] != FileState::kWhole) {
            ++(state[i] == FileState::kArriving   ? listing.arriving
               : state[i] == FileState::kUnsealed ? listing.unsealed
                                                  : listing.damaged);
            continue;
        }
        bool exactName = false;
        const std::string name = found[i].Name();
        const auto id = ParseClipFileName(name, exactName);
        // A whole clip under a name of someone else's making is listed by its header's time.
        found[i].id = id ? *id : ClipFileId{found[i].header.capturedAtMs, 0, Checksum(name.data(), name.size())};
        if (FromTheFuture(found[i].id.capturedAtMs) || FromTheFuture(found[i].header.capturedAtMs)) {
            ++listing.damaged;
            continue;
        }
        exact[i] = !id || exactName;
        whole.push_back(i);
    }
    // One file an id: the first found, unless a later one has the exact name.
    std::stable_sort(whole.begin(), whole.end(), [&](std::size_t a, std::size_t b) { return found[a].id < found[b].id; });
    std::vector<std::size_t> byId;
    for (std::size_t i : whole) {
        if (byId.empty() || !(found[byId.back()].id == found[i].id)) {
            byId.push_back(i);
            continue;
        }
        std::size_t& held = byId.back();
        const std::size_t kept = exact[i] && !exact[held] ? i : held;
        const std::size_t other = kept == i ? held : i;
        held = kept;
        found[kept].header.pinned |= found[other].header.pinned;
        listing.hidden.push_back(found[other]);
    }
    // One clip a content, taken in time order: the newest.
    std::stable_sort(byId.begin(), byId.end(),
                     [&](std::size_t a, std::size_t b) { return found[a].id.content < found[b].id.content; });
    std::vector<std::size_t> byContent;
    for (std::size_t i : byId) {
        if (byContent.empty() || found[byContent.back()].id.content != found[i].id.content) {
            byContent.push_back(i);
            continue;
        }
        std::size_t& held = byContent.back();
        // Two files say they hold one content: each must, before they count as one clip (a file made to
        // hide another behind its name is refused).
        if (!ContentMatchesName(found[i], folder, sealer)) {
            ++listing.damaged;
            continue;
        }
        if (!ContentMatchesName(found[held], folder, sealer)) {
            ++listing.damaged;
            held = i;
            continue;
        }
        // This one is newer than the one held, and pinned if either is.
        found[i].header.pinned |= found[held].header.pinned;
        listing.hidden.push_back(found[held]);
        held = i;
    }
    for (std::size_t i : byContent) listing.clips.push_back(std::move(found[i]));  // each once
    std::sort(listing.clips.begin(), listing.clips.end(), [](const StoredClip& a, const StoredClip& b) {
        return a.id < b.id;
    });
}

}  // namespace

namespace {

// Keeps the newest files by the times their names give (a name of someone else's making counts as oldest).
void KeepNewestByName(std::vector<StoredClip>& found, std::size_t newest) {
    if (found.size() <= newest) return;
    std::vector<std::pair<std::uint64_t, std::size_t>> byTime;
    for (std::size_t i = 0; i < found.size(); ++i) {
        bool exact = false;
        const auto id = ParseClipFileName(found[i].Name(), exact);
        byTime.emplace_back(id ? id->capturedAtMs : 0, i);
    }
    std::nth_element(byTime.begin(), byTime.begin() + std::ptrdiff_t(newest), byTime.end(),
                     [](const auto& a, const auto& b) { return a > b; });
    std::vector<StoredClip> kept;
    for (std::size_t n = 0; n < newest; ++n) kept.push_back(std::move(found[byTime[n].second]));
    found = std::move(kept);
}

}  // namespace

HistoryListing ListHistoryFolder(const std::filesystem::path& folder, const common::Sealer& sealer,
                                 HeaderCache* cache, std::size_t newest) {
    HistoryListing listing;
    std::vector<StoredClip> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = NameOf(it->path()).value_or("");
        if (!IsClipFileName(name)) continue;
        StoredClip clip;
        bool exact = false;
        if (const auto id = ParseClipFileName(name, exact)) clip.id = *id;
        // Most files are named by their ids: their paths are not kept.
        if (!exact || ClipFileName(clip.id) != name) clip.otherFile = it->path().native();
        found.push_back(std::move(clip));
    }
    if (newest && found.size() > newest) {
        KeepNewestByName(found, newest);
        listing.partial = true;
    }
    // Asked of the files kept only: each is a question to the file system.
    std::vector<std::filesystem::file_time_type> written;
    for (StoredClip& clip : found) {
        std::error_code sized, timed;
        const std::filesystem::path file = clip.File(folder);
        const std::uint64_t bytes = std::filesystem::file_size(file, sized);
        clip.bytes = sized ? ~std::uint64_t(0) : bytes;
        written.push_back(cache ? std::filesystem::last_write_time(file, timed) : std::filesystem::file_time_type());
        if (timed) written.back() = std::filesystem::file_time_type::min();  // never taken for unchanged
    }
    // A file the cache knows whole, of the same size and time, has the same header. A file changed in the
    // last seconds is read again: where times go in 2-second steps, a pin written again keeps size and time.
    const auto recently = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(4);
    const auto known = [&](std::size_t i) {
        if (!cache || written[i] == std::filesystem::file_time_type::min() || written[i] > recently) return false;
        auto seen = cache->Find(found[i]);
        if (!seen || seen->bytes != found[i].bytes || seen->written != written[i]) return false;
        found[i].header = std::move(seen->header);
        return true;
    };
    std::vector<FileState> state(found.size(), FileState::kDamaged);
    std::vector<std::size_t> unread;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (known(i))
            state[i] = FileState::kWhole;
        else
            unread.push_back(i);
    }
    // The headers are read by a few threads at once: opening a file is most of the cost, and it waits.
    const std::size_t threads = std::min<std::size_t>(4, unread.size() / 64 + 1);
    std::vector<std::thread> readers;
    for (std::size_t t = 0; t < threads; ++t)
        readers.emplace_back([&, t] {
            for (std::size_t n = t; n < unread.size(); n += threads) {
                const std::size_t i = unread[n];
                state[i] = HeaderOf(found[i].File(folder), found[i].bytes, sealer, found[i].header);
            }
        });
    for (std::thread& reader : readers) reader.join();
    if (cache) {
        cache->Clear();
        for (std::size_t i = 0; i < found.size(); ++i)
            if (state[i] == FileState::kWhole) cache->Put(found[i], written[i]);
        cache->Settle();
    }
    ListWholeFiles(found, state, folder, sealer, listing);
    if (cache) cache->damaged = listing.damaged, cache->unsealed = listing.unsealed;
    return listing;
}


void RemoveOlderCopies(const std::filesystem::path& file, const common::Sealer& sealer, CopyIndex* index,
                       const std::function<void(const std::filesystem::path&)>& deleting) {
    bool exact = false;
    const auto id = ParseClipFileName(NameOf(file).value_or(""), exact);
    if (!id || !exact) return;
    CopyIndex once;
    std::vector<std::filesystem::path> copies;
    for (const auto& path : (index ? index : &once)->CopiesOf(file, id->content)) {
        bool exactName = false;
        const auto other = ParseClipFileName(NameOf(path).value_or(""), exactName);
        if (!other || other->capturedAtMs > id->capturedAtMs || path.filename() == file.filename()) continue;
        // Another machine's pin is its user's choice, not an older copy: it stays.
        ClipFileHeader header;
        std::error_code sized;
        const std::uint64_t bytes = std::filesystem::file_size(path, sized);
        if (other->machine != id->machine && !sized && HeaderOf(path, bytes, sealer, header) == FileState::kWhole &&
            header.pinned)
            continue;
        copies.push_back(path);
    }
    std::string why;
    for (const auto& copy : copies) {
        if (deleting) deleting(copy);
        if (DeleteOnce(copy, why) && index) index->Removed(copy);
    }
}

std::size_t PlaceByTime(const std::vector<std::uint64_t>& capturedAtMs, std::uint64_t at) {
    return std::size_t(std::upper_bound(capturedAtMs.begin(), capturedAtMs.end(), at) - capturedAtMs.begin());
}

std::string SkippedFilesLine(int damaged, int unsealed) {
    std::string line;
    if (damaged > 0)
        line = std::to_string(damaged) + (damaged == 1 ? " damaged clip file skipped" : " damaged clip files skipped");
    if (unsealed > 0)
        line += (line.empty() ? "" : "; ") + std::to_string(unsealed) +
                (unsealed == 1 ? " clip file" : " clip files") + " not sealed with this history's key skipped";
    return line;
}

HistoryLimits HistoryLimitsFromSettings(const std::optional<std::string>& size,
                                        const std::optional<std::string>& diskMegabytes) {
    HistoryLimits limits;
    std::uint64_t value = 0;
    if (size) {
        limits.sizeUnderstood = common::SettingNumber(*size, 1, clips::kMaxHistoryClips, value);
        limits.clips = limits.sizeUnderstood ? std::size_t(value) : clips::kMaxHistoryClips;
    }
    if (diskMegabytes) {
        limits.diskUnderstood = common::SettingNumber(*diskMegabytes, 1, 1048576, value);
        limits.diskBytes = (limits.diskUnderstood ? value : 1048576) << 20;
    }
    return limits;
}

std::vector<std::size_t> ClipsToRemove(const std::vector<StoredClip>& oldestFirst, const HistoryLimits& limits) {
    std::size_t count = oldestFirst.size();
    std::uint64_t bytes = 0;
    for (const StoredClip& clip : oldestFirst) bytes += clip.bytes;
    std::vector<std::size_t> removed;
    for (std::size_t i = 0; i < oldestFirst.size() && (count > limits.clips || bytes > limits.diskBytes); ++i) {
        if (oldestFirst[i].header.pinned) continue;
        removed.push_back(i);
        --count;
        bytes -= oldestFirst[i].bytes;
    }
    return removed;
}

}  // namespace history
