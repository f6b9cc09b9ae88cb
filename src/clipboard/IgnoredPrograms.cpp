#include "clipboard/IgnoredPrograms.h"

#include <algorithm>
#include <cctype>

namespace clipboard {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::vector<std::string> ParseIgnoredPrograms(const std::string& setting) {
    std::vector<std::string> names;
    std::size_t from = 0;
    while (from <= setting.size()) {
        const std::size_t end = std::min(setting.find(';', from), setting.size());
        const std::string entry = setting.substr(from, end - from);
        const std::size_t first = entry.find_first_not_of(" \t"), last = entry.find_last_not_of(" \t");
        if (first != std::string::npos) names.push_back(Lower(entry.substr(first, last - first + 1)));
        from = end + 1;
    }
    return names;
}

bool IsIgnoredProgram(const std::vector<std::string>& ignored, const std::string& imagePath) {
    const std::size_t slash = imagePath.find_last_of("\\/");
    const std::string name = Lower(slash == std::string::npos ? imagePath : imagePath.substr(slash + 1));
    if (name.empty()) return false;
    return std::any_of(ignored.begin(), ignored.end(),
                       [&](const std::string& entry) { return entry == name || entry + ".exe" == name; });
}

}  // namespace clipboard
