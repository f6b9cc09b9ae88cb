#include "shell/StartupEntry.h"

namespace shell {

std::string StartupEntryData(const std::string& programFolder, const std::string& exeName) {
    std::string data = programFolder;
    if (data.empty() || data.back() != '\\') data += '\\';
    // Quoted: a folder with a space (any per-user install under "C:\Users\First Last") is still one path.
    return "\"" + data + exeName + "\"";
}

}  // namespace shell
