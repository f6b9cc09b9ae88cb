// What the history popup shows and which hotkey opens it, without Win32.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mainwindow {

// A clip as the popup's search sees it: its kind and text, or a picture's size.
struct PopupClip {
    std::string kind;
    std::string text;
    std::uint64_t width = 0, height = 0;
};

// What the search reads of a clip, with case folded for any letter, made once per clip: the first
// kSearchedBytes of a text (typing stays quick over megabytes), or for a picture "picture" and its size
// ("4000 x 3000", "4000x3000").
const std::size_t kSearchedBytes = 64 * 1024;
std::string SearchKey(const PopupClip& clip);
// The positions in `keys` (oldest first, as the list holds the clips) that contain `query`, case
// folded, newest first.
std::vector<int> ShownClips(const std::vector<std::string>& keys, const std::string& query);
// The same over count clips whose keys are made when asked for (into scratch, or returned as kept).
using KeyOfClip = std::function<std::string_view(std::size_t index, std::string& scratch)>;
std::vector<int> ShownClips(std::size_t count, const KeyOfClip& keyOf, const std::string& query);

// What tells a clip's label from another's where the label itself is not kept (FNV-1a).
std::uint64_t LabelHash(const std::string& label);
// A row's label in the popup: the first nine rows carry the number that Ctrl+number picks.
std::string NumberedLabel(std::size_t row, const std::string& label);

// Where a popup of this size opens for a pointer at (x, y): its top left at the pointer, moved inside the
// work area of the pointer's monitor (left, top, right, bottom), its top left kept inside when it is larger.
struct PopupPlace {
    int left, top;
};
PopupPlace PlacePopup(int x, int y, int width, int height, int workLeft, int workTop, int workRight, int workBottom);

// The popup's size for this many rows shown: as tall as its filter box and rows (one at least, kPopupMostRows
// at most: more scroll), as wide as a comfortable label at this dpi, and never larger than the work area.
// frame is what its border adds to each side.
const int kPopupMostRows = 15;
struct PopupSize {
    int width, height;
};
PopupSize SizePopup(int rows, int rowHeight, int filterHeight, int frame, int dpi, int workWidth, int workHeight);

// A global hotkey: modifier bits as RegisterHotKey takes them and a virtual-key code.
const unsigned kModAlt = 1, kModControl = 2, kModShift = 4, kModWin = 8;
struct Hotkey {
    unsigned modifiers = 0;
    unsigned key = 0;
    bool operator==(const Hotkey& o) const { return modifiers == o.modifiers && key == o.key; }
};
// Ctrl+Alt+H: no common program uses it (Ctrl+Shift+V pastes plain text and Ctrl+Alt+V opens Paste
// Special in many programs; Win+V is the system's own history).
const char kDefaultHotkey[] = "Ctrl+Alt+H";
// "Ctrl+Alt+H", "Shift+Win+F9", "Ctrl+Shift+Insert": modifiers and one key, in any case; nothing when the
// text names no key, an unknown one, or no modifier (a bare key would be taken from every program).
std::optional<Hotkey> ParseHotkey(const std::string& text);
// The text ParseHotkey reads back as this hotkey ("Ctrl+Alt+H", modifiers in that order); "" for a key it has
// no name for or no modifier.
std::string HotkeyName(const Hotkey& hotkey);

}  // namespace mainwindow
