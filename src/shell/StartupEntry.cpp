#include "shell/StartupEntry.h"

namespace shell {

std::string StartupEntryData(const std::string& programFolder, const std::string& exeName) {
    std::string data = programFolder;
    if (data.empty() || data.back() != '\\') data += '\\';
    return data + exeName;
}

}  // namespace shell
