// A filter box over a list of clips: typing narrows the list to the clips that hold the text (any part,
// any case; "picture" and sizes for pictures), newest first or as the main list holds them. The keys that
// move and choose act on the list while the box keeps the keyboard. The history popup shows one in a window
// of its own, the main window one over its clip list while a search is typed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clips/ClipCollection.h"
#include "cliplist/ClipListEvents.h"
#include "cliplist/ClipListControl.h"

namespace mainwindow {

// One clip as the filter lists it: where it is in the main list, a hash of its label (the label itself is
// the main list's: a long history's labels are not copied), its icon, and what names it while positions shift
// (its holder's family and index). Small: a long history's worth is made at each opening of the popup.
struct PopupItem {
    int position;
    std::uint64_t labelHash;
    std::int16_t icon;
    clips::HolderFamily family;
    clips::HolderIndex holder;
    bool pinned = false;
    bool SameClip(const PopupItem& o) const { return family == o.family && holder == o.holder; }
};

class FilteredClips : private cliplist::ClipListEvents {
public:
    // The box across the top of area, filterHeight tall, the list below it; numbered rows carry the number
    // Ctrl picks them by.
    bool Create(HWND parent, const RECT& area, int filterHeight, HIMAGELIST kindIcons, const std::string& listProperties,
                bool numbered);
    HWND FilterBox() const { return filter_; }
    // The box and the list moved to a new area, as Create placed them.
    void Move(const RECT& area, int filterHeight);
    cliplist::ClipListControl& List() { return list_; }
    const cliplist::ClipListControl& List() const { return list_; }

    // The clips (oldest first, as the main list holds them). The filter stays, and so does the clip
    // chosen where it is still shown.
    void SetItems(std::vector<PopupItem> items);
    // Storage for the next items, kept from the ones they replaced: on first use each page of fresh memory is
    // the system's to give, and a long history's worth costs more than filling it.
    std::vector<PopupItem> SpareItems();
    // The clips found newest first (the popup's order), or oldest first with the newest found chosen.
    void SetNewestFirst(bool newestFirst);
    // Empties the box; the list shows every clip again (none when it lists only what is found).
    void ClearFilter();
    void ListOnlyWhatIsFound() { listsAllUnfiltered_ = false; }
    // Makes the keys of the clips not read yet, newest first, for about budgetMs, so that a first search finds
    // them ready; true while some are left.
    bool MakeKeysAhead(double budgetMs);
    // The keys another filter made for the same clips serve here too, not copied: the popup reads the search's.
    void BorrowKeysOf(const FilteredClips* lender) { lender_ = lender; }
    bool Filtering() const { return GetWindowTextLengthW(filter_) > 0; }
    // The positions now shown, in the order shown, and the main-list position of the current row (or -1).
    const std::vector<int>& Shown() const { return shown_; }
    int Chosen() const;

    // Enter (plainText false), Shift+Enter (true), a double-click, or Ctrl+1 to Ctrl+9 on a numbered list.
    std::function<void(int position, bool plainText)> onChoose;
    std::function<void(int position)> onDelete;    // Delete with nothing after the caret
    std::function<void(int position)> onPin;       // Ctrl+P
    std::function<void(int position)> onSelect;    // the current row changed
    std::function<void()> onEscape;
    std::function<void()> onFilterChanged;         // after the list follows what was typed
    // What search reads of a clip (SearchKey), asked for when something is typed, not for every clip shown.
    std::function<std::string(const PopupItem&)> keyOf;
    // The label of the clip at a main-list position, as the rows show it (empty past the list's end).
    std::function<const std::string&(int position)> labelOf;

private:
    static LRESULT CALLBACK FilterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    bool FilterKey(WPARAM key);
    void Refilter();
    void Narrow();                         // goes on with the clips not read yet
    void Shown(std::uint64_t narrowing);  // the rows found so far are shown
    std::string_view KeyAt(std::size_t i, std::string& scratch);
    // The key kept here for the clip an item of another filter names, when it is the same clip with the same
    // label at the same position.
    std::optional<std::string_view> KeptKeyOf(const PopupItem& item) const;
    const std::string& RowText(int row);
    void KeepKeysOf(const std::vector<PopupItem>& items);  // before they replace items_
    void DblClick() override;
    void ListIndexChange() override;
    // The list itself has the keyboard (it was clicked): the same keys choose, pin and leave.
    void KeyDown(int keyCode, int shift) override;

    HWND filter_ = nullptr;
    cliplist::ClipListControl list_;
    bool numbered_ = true;
    bool newestFirst_ = true;
    bool refilling_ = false;
    bool listsAllUnfiltered_ = true;
    std::vector<PopupItem> items_;
    std::vector<PopupItem> spareItems_;
    // The items' search keys, kept once made while they fit kKeptKeyBytes; past it, made each time. They are
    // packed in one text (a long history's keys as strings of their own would take twice the memory, and be
    // slower to scan); the keys of clips gone stay in it until they are as many bytes as the others.
    static const std::size_t kKeptKeyBytes = 32u << 20;
    static const std::size_t kKeptKeySkip = 16;  // clips gone between two that stay, looked past
    static const std::uint32_t kNotKeyed = 0xFFFFFFFF;
    struct KeySpan {
        std::uint32_t at = kNotKeyed;
        std::uint32_t length = 0;
    };
    std::string keyText_;
    std::vector<KeySpan> keySpans_, spareKeySpans_;  // by item
    std::size_t liveKeyBytes_ = 0;
    const FilteredClips* lender_ = nullptr;
    void PackKeys();  // drops the keys of clips gone from keyText_
    std::size_t keysAheadFrom_ = 0;  // the items from it on are keyed, or not to be
    std::uint64_t itemsMade_ = 0;   // counts SetItems
    std::vector<int> shown_;
    std::string numberedTexts_[9];  // the numbered rows' texts, made as they are asked for
    static const UINT_PTR kNarrowTimer = 0x4E52;
    static const std::size_t kNarrowSlice = 4096;
    std::uint64_t narrowing_ = 0;  // a new search stops the one under way
    std::string query_;
    std::size_t unscanned_ = 0;  // the items before it are not read yet
    bool firstShown_ = false;
};

}  // namespace mainwindow
