#include "clips/ClipCollection.h"
#include "clips/ClipLimits.h"
#include "history/HistoryFolder.h"
#include "history/SealedClipFile.h"

namespace history {

FilesSealedAgain SealFilesAgain(const std::filesystem::path& folder, const common::Sealer& sealer,
                                const ClipFileReader& reader) {
    FilesSealedAgain result;
    std::error_code error;
    for (const auto& file : ClipFilesIn(folder, error)) {
        // Most files are the folder's own: only their first bytes are read to tell.
        std::string bytes, why;
        if (!reader.mayOpen(ReadLeadingBytes(file, kClipFileHeaderRead).value_or("")) ||
            !ReadFileWithin(file, clips::MaxClipFileBytes(clips::kKindPicture), bytes))
            continue;
        const auto clip = reader.open(bytes);
        if (!clip || FromTheFuture(clip->header.capturedAtMs)) continue;  // not ours to seal
        bool exact = false;
        const auto named = ParseClipFileName(NameOf(file).value_or(""), exact);
        const auto content = SealedContentId(clip->formats, sealer);
        const std::string sealed = WriteSealedClipFile(*clip, sealer);
        const ClipFileId id{clip->header.capturedAtMs, named ? named->machine : 0, content.value_or(0)};
        if (content && !sealed.empty() && WriteFileWhole(folder / ClipFileName(id), sealed, &why) &&
            DeleteOnce(file, why))
            ++result.sealed;
        else
            ++result.failed;
    }
    return result;
}

FilesSealedAgain SealPlainFiles(const std::filesystem::path& folder, const common::Sealer& sealer) {
    ClipFileError ignored = ClipFileError::kNone;
    return SealFilesAgain(folder, sealer,
                          {[&](const std::string& leading) { return ReadClipFileHeader(leading, ignored).has_value(); },
                           [&](const std::string& whole) { return ReadClipFile(whole, ignored); }});
}

FilesSealedAgain SealFilesOfOtherKeys(const std::filesystem::path& folder, const common::Sealer& sealer,
                                      const std::vector<std::shared_ptr<const common::Sealer>>& others) {
    if (others.empty()) return {};
    ClipFileError ignored = ClipFileError::kNone;
    const common::Sealer* opener = nullptr;  // the key that opened the header just read
    return SealFilesAgain(folder, sealer,
                          {[&](const std::string& leading) {
                               opener = nullptr;
                               for (const auto& other : others)
                                   if (ReadSealedClipFileHeader(leading, *other, ignored)) {
                                       opener = other.get();
                                       break;
                                   }
                               return opener != nullptr;
                           },
                           [&](const std::string& whole) { return ReadSealedClipFile(whole, *opener, ignored); }});
}

}  // namespace history
