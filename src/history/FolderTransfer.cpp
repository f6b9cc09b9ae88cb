#include "history/FolderTransfer.h"

#include <vector>

#include "clips/ClipCollection.h"
#include "clips/ClipLimits.h"
#include "history/DiskFiles.h"
#include "history/HistoryFolder.h"

namespace history {

FilesTransferred TransferClipFiles(const std::filesystem::path& from, const std::filesystem::path& to, bool move) {
    FilesTransferred result;
    const auto fail = [&](const std::string& why) {
        if (result.failed++ == 0) result.firstProblem = why;
    };
    std::error_code error;
    if (!std::filesystem::exists(from, error)) return result;  // a history never written: nothing to take
    std::filesystem::create_directories(to, error);
    const std::vector<std::filesystem::path> files = ClipFilesIn(from, error);
    if (error) fail("the folder " + from.u8string() + " cannot be read");
    for (const auto& file : files) {
        const std::filesystem::path target = to / file.filename();
        std::string bytes, why;
        std::error_code there;
        if (!std::filesystem::exists(target, there)) {
            if (!ReadFileWithin(file, clips::MaxClipFileBytes(clips::kKindPicture), bytes)) {
                fail(file.filename().u8string() + " cannot be read");
                continue;
            }
            if (!WriteFileWhole(target, bytes, &why)) {
                fail(why);
                continue;
            }
        }
        if (move && !DeleteOnce(file, why)) {
            fail(why);
            continue;
        }
        ++result.done;
    }
    return result;
}

}  // namespace history
