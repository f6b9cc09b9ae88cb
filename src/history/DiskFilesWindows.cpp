#include "history/DiskFiles.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <system_error>

namespace history {

namespace {

std::string LastError() { return std::system_category().message(int(GetLastError())); }

}  // namespace

// The C library opens a file without FILE_SHARE_DELETE: while we read one, a sync client could neither
// rename nor delete it.
std::FILE* OpenSharing(const std::filesystem::path& file, bool writing) {
    const HANDLE handle = CreateFileW(file.c_str(), writing ? GENERIC_WRITE : GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      writing ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | (writing ? 0 : _O_RDONLY));
    if (descriptor < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* stream = _fdopen(descriptor, writing ? "wb" : "rb");
    if (!stream) _close(descriptor);
    return stream;
}

bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::string& why) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    why = LastError();
    return false;
}

bool DeleteOnce(const std::filesystem::path& file, std::string& why) {
    if (DeleteFileW(file.c_str())) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    why = LastError();
    return false;
}

bool LeftInTheCloud(const std::filesystem::path& file) {
    const DWORD kRecallOnOpen = 0x00040000, kRecallOnDataAccess = 0x00400000;  // newer than some headers
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (kRecallOnOpen | kRecallOnDataAccess | FILE_ATTRIBUTE_OFFLINE)) != 0;
}

}  // namespace history
