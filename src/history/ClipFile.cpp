#include "history/ClipFile.h"

#include <algorithm>

#include "history/ClipFileFields.h"

namespace history {

namespace {

const char kMagic[8] = {'A', 'R', 'D', 'C', 'L', 'I', 'P', '\x1A'};
const std::size_t kMaxLabelBytes = 1024;
const std::uint32_t kFlagPinned = 1;

}  // namespace

std::uint64_t Checksum(const char* data, std::size_t size, std::uint64_t hash) {
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    return hash;
}

std::uint64_t ContentChecksum(const std::vector<StoredFormat>& formats) {
    std::uint64_t hash = kChecksumStart;
    for (const StoredFormat& format : formats) {
        // Each part behind its length: "ab" + "c" is not "a" + "bc".
        for (const std::string* part : {&format.name, &format.bytes}) {
            std::string length;
            PutNumber(length, part->size(), 8);
            hash = Checksum(length.data(), length.size(), hash);
            hash = Checksum(part->data(), part->size(), hash);
        }
    }
    return hash;
}

namespace {

// Magic, version and the header block; the reader is left after it.
std::optional<ClipFileHeader> ReadHeader(FieldReader& in, const std::string& bytes, ClipFileError& error) {
    error = ClipFileError::kTruncated;
    std::string magic;
    if (!in.Bytes(magic, sizeof(kMagic))) {
        const std::size_t seen = std::min(bytes.size(), sizeof(kMagic));
        if (bytes.compare(0, seen, kMagic, seen) != 0) error = ClipFileError::kNotOurs;
        return std::nullopt;
    }
    if (magic.compare(0, sizeof(kMagic), kMagic, sizeof(kMagic)) != 0) {
        error = ClipFileError::kNotOurs;
        return std::nullopt;
    }
    std::uint64_t version = 0, headerBytes = 0;
    if (!in.Number(version, 4)) return std::nullopt;
    if (version > kClipFileVersion || version == 0) {
        error = version == 0 ? ClipFileError::kDamaged : ClipFileError::kNewerVersion;
        return std::nullopt;
    }
    ClipFileHeader header;
    if (!in.Number(header.fileBytes, 8) || !in.Number(headerBytes, 4)) return std::nullopt;
    const std::size_t headerEnd = in.At() + std::size_t(std::min<std::uint64_t>(headerBytes, bytes.size()));
    if (!ReadHeaderBlock(in, header, error)) return std::nullopt;
    if (in.At() != headerEnd) {
        error = ClipFileError::kDamaged;
        return std::nullopt;
    }
    error = ClipFileError::kNone;
    return header;
}

}  // namespace

namespace {

// Magic, version, length, the header's length; the checksum.
const std::size_t kFixedBytes = sizeof(kMagic) + 4 + 8 + 4 + 8;

std::uint64_t FileBytes(std::size_t headerBytes, const std::vector<StoredFormat>& formats) {
    return kFixedBytes + headerBytes + FormatsBlockBytes(formats);
}

}  // namespace

std::uint64_t FormatsBlockBytes(const std::vector<StoredFormat>& formats) {
    std::uint64_t bytes = 4;  // the count; then each name's length and bytes, each format's length and bytes
    for (const StoredFormat& format : formats)
        bytes += 2 + std::min<std::size_t>(format.name.size(), 0xFFFF) + 8 + format.bytes.size();
    return bytes;
}

std::uint64_t ClipFileBytes(const ClipFileContents& clip) {
    return FileBytes(HeaderBlock(clip.header).size(), clip.formats);
}

std::string WriteClipFile(const ClipFileContents& clip) {
    const std::string header = HeaderBlock(clip.header);
    std::string out(kMagic, sizeof(kMagic));
    out.reserve(FileBytes(header.size(), clip.formats));  // megabytes are written once, never moved
    PutNumber(out, kClipFileVersion, 4);
    const std::size_t lengthAt = out.size();
    PutNumber(out, 0, 8);  // the whole file's length, known once it is all written
    PutNumber(out, header.size(), 4);
    out += header;
    out += FormatsBlock(clip.formats);
    std::string length;
    PutNumber(length, out.size() + 8, 8);
    out.replace(lengthAt, 8, length);
    PutNumber(out, Checksum(out.data(), out.size()), 8);
    return out;
}

std::optional<ClipFileHeader> ReadClipFileHeader(const std::string& leading, ClipFileError& error) {
    FieldReader in(leading, leading.size());
    return ReadHeader(in, leading, error);
}

std::optional<ClipFileContents> ReadClipFile(const std::string& file, ClipFileError& error) {
    // The checksum closes the file: without it the file is cut short; with it wrong, damaged.
    const std::size_t body = file.size() >= 8 ? file.size() - 8 : 0;
    FieldReader in(file, body);
    ClipFileContents clip;
    auto header = ReadHeader(in, file, error);
    if (!header) return std::nullopt;
    if (header->fileBytes != file.size()) {
        error = header->fileBytes > file.size() ? ClipFileError::kTruncated : ClipFileError::kDamaged;
        return std::nullopt;
    }
    clip.header = std::move(*header);
    error = ClipFileError::kTruncated;
    if (!ReadFormatsBlock(in, clip.formats)) return std::nullopt;
    std::uint64_t stored = 0;
    for (int i = 7; i >= 0 && file.size() >= 8; --i)
        stored = (stored << 8) | static_cast<unsigned char>(file[body + i]);
    if (file.size() < 8 || in.At() != body || stored != Checksum(file.data(), body)) {
        error = ClipFileError::kDamaged;
        return std::nullopt;
    }
    error = ClipFileError::kNone;
    return clip;
}

std::string HeaderBlock(const ClipFileHeader& clip) {
    const std::string label = clip.label.substr(0, kMaxLabelBytes);
    std::string header;
    PutNumber(header, clip.kind.size(), 1);
    header += clip.kind.substr(0, 255);
    PutNumber(header, clip.capturedAtMs, 8);
    PutNumber(header, clip.pinned ? kFlagPinned : 0, 4);
    PutNumber(header, label.size(), 4);
    header += label;
    return header;
}

bool ReadHeaderBlock(FieldReader& in, ClipFileHeader& header, ClipFileError& error) {
    std::uint64_t kindBytes = 0, flags = 0, labelBytes = 0;
    if (!in.Number(kindBytes, 1) || !in.Bytes(header.kind, kindBytes) || !in.Number(header.capturedAtMs, 8) ||
        !in.Number(flags, 4) || !in.Number(labelBytes, 4) || !in.Bytes(header.label, labelBytes))
        return false;
    // One of the four kinds, or the file is not a clip: the kind picks the holder its index names.
    static const char* const kKinds[] = {"TXT", "PIC", "RTF", "FIL"};
    if (std::find(std::begin(kKinds), std::end(kKinds), header.kind) == std::end(kKinds)) {
        error = ClipFileError::kDamaged;
        return false;
    }
    header.pinned = (flags & kFlagPinned) != 0;
    return true;
}

std::vector<std::string_view> FormatsBlockParts(const std::vector<StoredFormat>& formats,
                                                std::vector<std::string>& numbers) {
    numbers.clear();
    numbers.reserve(1 + 2 * formats.size());  // the views point into it: it never grows past this
    std::vector<std::string_view> parts;
    const auto number = [&](std::uint64_t value, int bytes) {
        numbers.emplace_back();
        PutNumber(numbers.back(), value, bytes);
        parts.push_back(numbers.back());
    };
    number(formats.size(), 4);
    for (const StoredFormat& format : formats) {
        const std::size_t nameBytes = std::min<std::size_t>(format.name.size(), 0xFFFF);
        number(nameBytes, 2);
        parts.push_back(std::string_view(format.name).substr(0, nameBytes));
        number(format.bytes.size(), 8);
        parts.push_back(format.bytes);
    }
    return parts;
}

std::string FormatsBlock(const std::vector<StoredFormat>& formats) {
    std::vector<std::string> numbers;
    std::string out;
    out.reserve(std::size_t(FormatsBlockBytes(formats)));
    for (std::string_view part : FormatsBlockParts(formats, numbers)) out += part;
    return out;
}

bool ReadFormatsBlock(FieldReader& in, std::vector<StoredFormat>& formats) {
    std::uint64_t count = 0;
    if (!in.Number(count, 4)) return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        StoredFormat format;
        std::uint64_t nameBytes = 0, size = 0;
        if (!in.Number(nameBytes, 2) || !in.Bytes(format.name, nameBytes) || !in.Number(size, 8) ||
            !in.Bytes(format.bytes, size))
            return false;
        formats.push_back(std::move(format));
    }
    return true;
}

}  // namespace history
