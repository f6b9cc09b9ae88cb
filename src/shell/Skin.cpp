#include "shell/Skin.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace shell {

bool TakesSkinBackground(ControlKind kind) {
    switch (kind) {
        case ControlKind::kWindow:
        case ControlKind::kLabel:
        case ControlKind::kOptionButton:
        case ControlKind::kCheckBox:
        case ControlKind::kFrame:
            return true;
        default:
            return false;
    }
}

std::string SkinFilePath(const std::string& programFolder) {
    std::string path = programFolder;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path + "\\x\\o.cjs";
}

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool ParseRrggbb(const std::string& text, std::uint32_t& bgr) {
    if (text.size() != 6) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    const std::uint32_t rgb = std::uint32_t(std::stoul(text, nullptr, 16));
    bgr = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

}  // namespace

SkinColours ParseSkin(const std::string& fileText) {
    SkinColours colours;
    bool hasFace = false;
    std::istringstream lines(fileText);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        const auto eq = line.find('=');
        std::uint32_t colour = 0;
        if (eq == std::string::npos || !ParseRrggbb(Trim(line.substr(eq + 1)), colour))
            throw SkinError("Invalid skin file: line " + std::to_string(number) + " is not Name=RRGGBB");
        const std::string name = Trim(line.substr(0, eq));
        if (name == "Face") {
            colours.face = colour;
            hasFace = true;
        } else if (name == "Text") {
            colours.text = colour;
            colours.hasText = true;
        }
    }
    if (!hasFace) throw SkinError("Invalid skin file: it names no Face colour");
    return colours;
}

void LoadedSkin::LoadSkin(const std::string& path, const std::string& /*ini*/) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);  // UTF-8 path, wide on Windows
    if (!in) throw SkinError("The skin file " + path + " cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    colours_ = ParseSkin(text.str());
    loaded_ = true;
}

void LoadedSkin::ApplyWindow(std::uintptr_t window) { window_ = window; }

bool LoadedSkin::Resolve(std::uint32_t oleColour, std::uint32_t& rgb) const {
    if (!Applied() || !controls_ || oleColour != kSkinBackground) return false;
    rgb = colours_.face;
    return true;
}

bool LoadedSkin::TextColour(std::uint32_t& rgb) const {
    if (!Applied() || !colours_.hasText) return false;
    rgb = colours_.text;
    return true;
}

bool RunSkinStep(LoadedSkin& skin, const std::string& skinPath, bool skinFileExists, std::uintptr_t window,
                 const std::vector<SkinnedControl>& controls) {
    if (!skinFileExists) return false;
    // Read first: a file that cannot be read or parsed leaves every control its designed colour.
    skin.LoadSkin(skinPath, "");
    for (const SkinnedControl& control : controls)
        if (TakesSkinBackground(control.kind)) *control.backColour = kSkinBackground;
    skin.SetFlags(skin.Flags() | 1);
    skin.SetSkinFrames(true);
    skin.SetSkinControls(true);
    skin.ApplyWindow(window);
    return true;
}

}  // namespace shell
