#include "history/SealedClipFile.h"

#include "history/ClipFileFields.h"

namespace history {
namespace {

const char kMagic[8] = {'A', 'R', 'D', 'C', 'L', 'I', 'P', '\x1A'};
// Magic, version, the whole file's length and the sealed header's length: read before anything is opened.
const std::size_t kPreambleBytes = sizeof(kMagic) + 4 + 8 + 4;

std::string Preamble(std::uint64_t fileBytes, std::uint64_t sealedHeaderBytes) {
    std::string out(kMagic, sizeof(kMagic));
    PutNumber(out, kSealedClipFileVersion, 4);
    PutNumber(out, fileBytes, 8);
    PutNumber(out, sealedHeaderBytes, 4);
    return out;
}

struct Layout {
    std::uint64_t fileBytes = 0, sealedHeaderBytes = 0;
};

// The preamble's fields; the error says why when they cannot be believed.
std::optional<Layout> ReadPreamble(const std::string& bytes, ClipFileError& error) {
    const std::size_t seen = std::min(bytes.size(), sizeof(kMagic));
    if (bytes.compare(0, seen, kMagic, seen) != 0) {
        error = ClipFileError::kNotOurs;
        return std::nullopt;
    }
    FieldReader in(bytes, bytes.size());
    std::string magic;
    std::uint64_t version = 0;
    Layout layout;
    error = ClipFileError::kTruncated;
    if (!in.Bytes(magic, sizeof(kMagic)) || !in.Number(version, 4)) return std::nullopt;
    if (version != kSealedClipFileVersion) {
        error = version > kSealedClipFileVersion ? ClipFileError::kNewerVersion
                : version == kClipFileVersion    ? ClipFileError::kNotSealed
                                                 : ClipFileError::kDamaged;
        return std::nullopt;
    }
    if (!in.Number(layout.fileBytes, 8) || !in.Number(layout.sealedHeaderBytes, 4)) return std::nullopt;
    if (kPreambleBytes + layout.sealedHeaderBytes > kClipFileHeaderRead ||
        layout.fileBytes < kPreambleBytes + layout.sealedHeaderBytes) {
        error = ClipFileError::kDamaged;
        return std::nullopt;
    }
    error = ClipFileError::kNone;
    return layout;
}

std::optional<ClipFileHeader> OpenHeader(const std::string& bytes, const Layout& layout, const common::Sealer& sealer,
                                         ClipFileError& error) {
    if (bytes.size() < kPreambleBytes + layout.sealedHeaderBytes) {
        error = ClipFileError::kTruncated;
        return std::nullopt;
    }
    const auto block = sealer.Open(bytes.substr(kPreambleBytes, std::size_t(layout.sealedHeaderBytes)),
                                   bytes.substr(0, kPreambleBytes));
    if (!block) {
        error = ClipFileError::kNotSealed;
        return std::nullopt;
    }
    FieldReader in(*block, block->size());
    ClipFileHeader header;
    error = ClipFileError::kDamaged;
    if (!ReadHeaderBlock(in, header, error) || !in.AtEnd()) {
        error = ClipFileError::kDamaged;  // sealed with our key, yet not what we write
        return std::nullopt;
    }
    header.fileBytes = layout.fileBytes;
    error = ClipFileError::kNone;
    return header;
}

}  // namespace

std::string WriteSealedClipFile(const ClipFileContents& clip, const common::Sealer& sealer) {
    const std::string headerBlock = HeaderBlock(clip.header), formatsBlock = FormatsBlock(clip.formats);
    const std::uint64_t sealedHeaderBytes = headerBlock.size() + sealer.Overhead();
    const std::uint64_t fileBytes = kPreambleBytes + sealedHeaderBytes + formatsBlock.size() + sealer.Overhead();
    std::string out = Preamble(fileBytes, sealedHeaderBytes);
    const auto header = sealer.Seal(headerBlock, out);
    if (!header || header->size() != sealedHeaderBytes) return "";
    out += *header;
    const auto formats = sealer.Seal(formatsBlock, out);
    if (!formats || out.size() + formats->size() != fileBytes) return "";
    out += *formats;
    return out;
}

std::uint64_t SealedClipFileBytes(const ClipFileContents& clip, const common::Sealer& sealer) {
    return kPreambleBytes + HeaderBlock(clip.header).size() + FormatsBlockBytes(clip.formats) + 2 * sealer.Overhead();
}

std::optional<ClipFileHeader> ReadSealedClipFileHeader(const std::string& leading, const common::Sealer& sealer,
                                                       ClipFileError& error) {
    const auto layout = ReadPreamble(leading, error);
    if (!layout) return std::nullopt;
    return OpenHeader(leading, *layout, sealer, error);
}

std::optional<ClipFileContents> ReadSealedClipFile(const std::string& file, const common::Sealer& sealer,
                                                   ClipFileError& error) {
    const auto layout = ReadPreamble(file, error);
    if (!layout) return std::nullopt;
    if (layout->fileBytes != file.size()) {
        error = layout->fileBytes > file.size() ? ClipFileError::kTruncated : ClipFileError::kDamaged;
        return std::nullopt;
    }
    ClipFileContents clip;
    auto header = OpenHeader(file, *layout, sealer, error);
    if (!header) return std::nullopt;
    clip.header = std::move(*header);
    const std::size_t formatsAt = kPreambleBytes + std::size_t(layout->sealedHeaderBytes);
    const auto block = sealer.Open(file.substr(formatsAt), file.substr(0, formatsAt));
    if (!block) {
        error = ClipFileError::kNotSealed;
        return std::nullopt;
    }
    FieldReader in(*block, block->size());
    if (!ReadFormatsBlock(in, clip.formats) || !in.AtEnd()) {
        error = ClipFileError::kDamaged;
        return std::nullopt;
    }
    error = ClipFileError::kNone;
    return clip;
}

std::optional<std::uint64_t> SealedContentId(const std::vector<StoredFormat>& formats, const common::Sealer& sealer) {
    // The formats block's bytes where they lie: a clip of megabytes is not copied to be named.
    std::vector<std::string> numbers;
    const auto digest = sealer.Digest(FormatsBlockParts(formats, numbers));
    if (!digest) return std::nullopt;
    std::uint64_t id = 0;
    for (int i = 0; i < 8; ++i) id |= std::uint64_t((*digest)[std::size_t(i)]) << (8 * i);
    return id;
}

}  // namespace history
