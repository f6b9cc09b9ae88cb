#include "history/FolderIndex.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "history/ClipFileFields.h"
#include "history/DiskFiles.h"

namespace history {

namespace {

const char kIndexMagic[8] = {'A', 'R', 'D', 'I', 'D', 'X', '\r', '\n'};
const std::uint64_t kIndexVersion = 1;

// The folder's path as one text in any case (Windows' paths are alike in any case) and without a last slash.
std::string FolderText(const std::filesystem::path& folder) {
    std::string name = folder.lexically_normal().generic_u8string();
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Sealed bound to the folder's path: an index copied over another folder's is refused, not believed.
std::string AssociatedWith(const std::filesystem::path& folder) {
    return "Ardentia folder index\n" + FolderText(folder);
}

}  // namespace

std::string EncodeFolderIndex(const HeaderCache& cache) {
    std::string out(kIndexMagic, sizeof(kIndexMagic));
    PutNumber(out, kIndexVersion, 4);
    PutNumber(out, std::uint32_t(cache.damaged), 4);
    PutNumber(out, std::uint32_t(cache.unsealed), 4);
    PutNumber(out, cache.files.size(), 8);
    for (const auto& [file, known] : cache.files) {
        const std::string name = NameOf(file).value_or("");
        PutNumber(out, name.size(), 2);
        out += name;
        PutNumber(out, known.bytes, 8);
        PutNumber(out, std::uint64_t(known.written.time_since_epoch().count()), 8);
        const std::string header = HeaderBlock(known.header);
        PutNumber(out, header.size(), 4);
        out += header;
    }
    return out;
}

std::optional<HeaderCache> DecodeFolderIndex(const std::string& bytes, const std::filesystem::path& folder) {
    FieldReader in(bytes, bytes.size());
    std::string magic;
    std::uint64_t version = 0, damaged = 0, unsealed = 0, count = 0;
    if (!in.Bytes(magic, sizeof(kIndexMagic)) || magic != std::string(kIndexMagic, sizeof(kIndexMagic)) ||
        !in.Number(version, 4) || version != kIndexVersion || !in.Number(damaged, 4) || !in.Number(unsealed, 4) ||
        !in.Number(count, 8))
        return std::nullopt;
    HeaderCache cache;
    cache.damaged = int(std::min<std::uint64_t>(damaged, 1u << 30));
    cache.unsealed = int(std::min<std::uint64_t>(unsealed, 1u << 30));
    using Ticks = std::filesystem::file_time_type::duration;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t nameBytes = 0, ticks = 0, headerBytes = 0;
        std::string name, header;
        HeaderCache::Known known;
        if (!in.Number(nameBytes, 2) || !in.Bytes(name, nameBytes) || !IsClipFileName(name) ||
            name.find_first_of("/\\:") != std::string::npos || !in.Number(known.bytes, 8) || !in.Number(ticks, 8) ||
            !in.Number(headerBytes, 4) || !in.Bytes(header, headerBytes))
            return std::nullopt;
        FieldReader fields(header, header.size());
        ClipFileError error = ClipFileError::kNone;
        if (!ReadHeaderBlock(fields, known.header, error) || !fields.AtEnd()) return std::nullopt;
        known.header.fileBytes = known.bytes;
        known.written = std::filesystem::file_time_type(Ticks(static_cast<Ticks::rep>(ticks)));
        cache.files[folder / std::filesystem::u8path(name)] = std::move(known);
    }
    if (!in.AtEnd()) return std::nullopt;
    return cache;
}

bool SaveFolderIndex(const std::filesystem::path& index, const std::filesystem::path& folder, const HeaderCache& cache,
                     const common::Sealer& sealer) {
    const auto sealed = sealer.Seal(EncodeFolderIndex(cache), AssociatedWith(folder));
    if (!sealed) return false;
    std::error_code ignored;
    std::filesystem::create_directories(index.parent_path(), ignored);
    return WriteFileWhole(index, *sealed);
}

std::optional<HeaderCache> LoadFolderIndex(const std::filesystem::path& index, const std::filesystem::path& folder,
                                           const common::Sealer& sealer) {
    std::string sealed;
    if (!ReadFileWithin(index, kMostIndexBytes, sealed)) return std::nullopt;
    const auto plain = sealer.Open(sealed, AssociatedWith(folder));
    if (!plain) return std::nullopt;
    return DecodeFolderIndex(*plain, folder);
}

std::filesystem::path FolderIndexFile(const std::filesystem::path& indexes, const std::filesystem::path& folder) {
    const std::string name = FolderText(folder);
    char hex[17];
    std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(Checksum(name.data(), name.size())));
    return indexes / (std::string(hex) + ".index");
}

}  // namespace history
