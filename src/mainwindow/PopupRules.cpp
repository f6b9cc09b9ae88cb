#include "mainwindow/PopupRules.h"

#include <algorithm>
#include <cctype>

#include "clips/ClipCollection.h"
#include "common/Utf8.h"

namespace mainwindow {

namespace {

const struct {
    const char* name;
    unsigned code;
} kNamedKeys[] = {{"Space", 0x20}, {"Insert", 0x2D}, {"Home", 0x24}, {"End", 0x23}, {"Pause", 0x13}};

std::optional<unsigned> KeyCode(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return unsigned(std::toupper(static_cast<unsigned char>(name[0])));
    if (name.size() >= 2 && name[0] == 'F') {
        const std::string digits = name.substr(1);
        if (digits.find_first_not_of("0123456789") == std::string::npos && digits.size() <= 2) {
            const int n = std::stoi(digits);
            if (n >= 1 && n <= 24) return unsigned(0x70 + n - 1);
        }
    }
    for (const auto& n : kNamedKeys)
        if (common::FoldCase(n.name) == common::FoldCase(name)) return n.code;
    return std::nullopt;
}

}  // namespace

std::string SearchKey(const PopupClip& clip) {
    if (clip.kind == clips::kKindPicture) {
        const std::string w = std::to_string(clip.width), h = std::to_string(clip.height);
        return "picture " + w + " x " + h + " " + w + "x" + h;
    }
    return common::FoldCase(clip.text.substr(0, kSearchedBytes));
}

std::vector<int> ShownClips(const std::vector<std::string>& keys, const std::string& query) {
    return ShownClips(keys.size(), [&](std::size_t i, std::string&) { return std::string_view(keys[i]); }, query);
}

std::vector<int> ShownClips(std::size_t count, const KeyOfClip& keyOf, const std::string& query) {
    const std::string wanted = common::FoldCase(query);
    std::vector<int> shown;
    std::string scratch;
    for (std::size_t i = count; i-- > 0;)
        if (wanted.empty() || keyOf(i, scratch).find(wanted) != std::string::npos) shown.push_back(int(i));
    return shown;
}

PopupPlace PlacePopup(int x, int y, int width, int height, int workLeft, int workTop, int workRight, int workBottom) {
    const auto fit = [](int at, int size, int low, int high) {
        if (at + size > high) at = high - size;
        return at < low ? low : at;
    };
    return {fit(x, width, workLeft, workRight), fit(y, height, workTop, workBottom)};
}

PopupSize SizePopup(int rows, int rowHeight, int filterHeight, int frame, int dpi, int workWidth, int workHeight) {
    const int shown = std::max(1, std::min(rows, kPopupMostRows));
    // Whole rows only: a part row would leave a strip the list does not paint.
    const int roomForRows = std::max(rowHeight, workHeight - filterHeight - 2 * frame);
    const int fitting = std::min(shown, std::max(1, roomForRows / std::max(1, rowHeight)));
    const int width = std::min((420 * dpi + 48) / 96 + 2 * frame, workWidth);
    return {width, filterHeight + fitting * rowHeight + 2 * frame};
}

std::optional<Hotkey> ParseHotkey(const std::string& text) {
    Hotkey hotkey;
    std::string part;
    bool haveKey = false;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != '+') {
            if (!std::isspace(static_cast<unsigned char>(text[at])))
                part += char(std::toupper(static_cast<unsigned char>(text[at])));
            continue;
        }
        if (part == "CTRL" || part == "CONTROL")
            hotkey.modifiers |= kModControl;
        else if (part == "ALT")
            hotkey.modifiers |= kModAlt;
        else if (part == "SHIFT")
            hotkey.modifiers |= kModShift;
        else if (part == "WIN")
            hotkey.modifiers |= kModWin;
        else if (auto key = KeyCode(part); key && !haveKey) {
            hotkey.key = *key;
            haveKey = true;
        } else {
            return std::nullopt;
        }
        part.clear();
    }
    if (!haveKey || hotkey.modifiers == 0) return std::nullopt;
    return hotkey;
}

std::string HotkeyName(const Hotkey& hotkey) {
    std::string key;
    if ((hotkey.key >= 'A' && hotkey.key <= 'Z') || (hotkey.key >= '0' && hotkey.key <= '9')) key = char(hotkey.key);
    if (hotkey.key >= 0x70 && hotkey.key < 0x70 + 24) key = "F" + std::to_string(hotkey.key - 0x70 + 1);
    for (const auto& n : kNamedKeys)
        if (hotkey.key == n.code) key = n.name;
    if (key.empty() || hotkey.modifiers == 0) return "";
    std::string name;
    for (const auto& [bit, word] : {std::pair<unsigned, const char*>{kModControl, "Ctrl+"}, {kModAlt, "Alt+"},
                                    {kModShift, "Shift+"}, {kModWin, "Win+"}})
        if (hotkey.modifiers & bit) name += word;
    return name + key;
}

std::uint64_t LabelHash(const std::string& label) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : label) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

std::string NumberedLabel(std::size_t row, const std::string& label) {
    return row < 9 ? std::to_string(row + 1) + "  " + label : label;
}

}  // namespace mainwindow
