#include "history/DiskFiles.h"

#include <system_error>

namespace history {

std::FILE* OpenSharing(const std::filesystem::path& file, bool writing) {
    return std::fopen(file.c_str(), writing ? "wb" : "rb");
}

bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::string& why) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error) why = error.message();
    return !error;
}

bool DeleteOnce(const std::filesystem::path& file, std::string& why) {
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error) why = error.message();
    return !error;
}

bool LeftInTheCloud(const std::filesystem::path&) { return false; }  // no placeholders here

}  // namespace history
