#include "shell/ApplicationTitle.h"

namespace shell {

namespace {
const std::string::size_type kMaxTitle = 40;

bool DropLastWord(std::string& text) {
    const auto space = text.rfind(' ');
    if (space == std::string::npos) return false;
    text.erase(space);
    return true;
}
}  // namespace

std::string TrimApplicationTitle(const std::string& productName) {
    std::string title = productName;
    if (!DropLastWord(title)) return title;
    while (title.size() > kMaxTitle && DropLastWord(title)) {
    }
    return title;
}

}  // namespace shell
