#include "history/DiskFiles.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace history {

namespace {

const char kUnfinishedExtension[] = ".part";

// Asks the system to put what was written on the disk itself, not only in its cache.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// A sync client, an indexer or a virus scanner holds a file open for a moment: a move or delete that
// fails while the folder is there is tried again, waiting longer each time (1.5 s in all).
template <typename Step>
bool Retrying(const std::filesystem::path& folder, Step step) {
    for (int wait = 50;; wait *= 2) {
        if (step()) return true;
        std::error_code ignored;
        if (wait > 800 || !std::filesystem::is_directory(folder, ignored)) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
}

bool SameBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::string read;
    return ReadFileWithin(file, bytes.size(), read) && read == bytes;
}

}  // namespace

bool ReadFileWithin(const std::filesystem::path& file, std::uint64_t most, std::string& bytes) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(file, error);
    if (error || size > most) return false;
    std::FILE* in = OpenSharing(file, false);
    if (!in) return false;
    bytes.assign(std::size_t(size) + 1, '\0');  // one byte more: a file grown since it was measured shows it
    bytes.resize(std::fread(&bytes[0], 1, bytes.size(), in));
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    return !failed && bytes.size() <= most;
}

std::optional<std::string> ReadLeadingBytes(const std::filesystem::path& file, std::size_t count) {
    std::FILE* in = OpenSharing(file, false);
    if (!in) return std::nullopt;
    std::string leading(count, '\0');
    leading.resize(std::fread(&leading[0], 1, leading.size(), in));
    std::fclose(in);
    return leading;
}

bool WriteFileWhole(const std::filesystem::path& file, const std::string& bytes, std::string* why) {
    std::filesystem::path unfinished = file;
    unfinished += kUnfinishedExtension;
    std::string reason;
    const auto fail = [&](const std::string& what) {
        if (why) *why = what;
        std::string ignored;
        DeleteOnce(unfinished, ignored);
        return false;
    };
    errno = 0;
    std::FILE* out = OpenSharing(unfinished, true);
    if (!out) return fail(std::strerror(errno ? errno : EIO));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && FlushToDisk(out);
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) return fail(std::strerror(errno ? errno : EIO));
    if (Retrying(file.parent_path(), [&] { return MoveReplacing(unfinished, file, reason); })) return true;
    // A file of that name that holds these very bytes is this one; any other is not replaced by it.
    if (SameBytes(file, bytes)) {
        std::string ignored;
        DeleteOnce(unfinished, ignored);
        return true;
    }
    return fail(reason);
}

bool RemoveFile(const std::filesystem::path& file, std::string* why) {
    std::string reason;
    if (Retrying(file.parent_path(), [&] { return DeleteOnce(file, reason); })) return true;
    if (why) *why = reason;
    return false;
}

}  // namespace history
