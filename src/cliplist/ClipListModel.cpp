#include "cliplist/ClipListModel.h"

#include <algorithm>

#include "common/Utf8.h"

namespace cliplist {

ClipListModel::ClipListModel(ClipListSurface& surface) : surface_(surface), items_(1), selected_(1, false) {}

void ClipListModel::AddItem(const std::string& text, int16_t icon, int16_t iconSelected) {
    // Refused before the spare slot is touched, so a failed add leaves no trace.
    if (ListCount() >= kMaxCount) throw ClipListError(kErrOverflow, "the list is full");
    items_.back() = ClipItem{text, icon, iconSelected};
    selected_.back() = false;
    items_.emplace_back();
    selected_.push_back(false);
    UpdateScrollBar();
    if (reversed_) surface_.RepaintAll();  // every row moves down one
    else if (ListCount() <= visibleRows_) surface_.RepaintItem(ListCount() - 1);
}

void ClipListModel::SetReversed(bool reversed) {
    if (reversed == reversed_) return;
    reversed_ = reversed;
    if (listIndex_ >= 0) ScrollTo(RowOf(listIndex_) - visibleRows_ / 2);
    surface_.RepaintAll();
}

void ClipListModel::InsertItem(int index, const std::string& text, int16_t icon, int16_t iconSelected) {
    // A negative index would leave the store grown but unshifted; refuse it like any other bad index.
    if (ListCount() == 0 || index > ListCount() || index < 0)
        throw ClipListError(kErrInvalidIndex, "invalid item index");
    if (ListCount() >= kMaxCount) throw ClipListError(kErrOverflow, "the list is full");
    items_.insert(items_.begin() + index, ClipItem{text, icon, iconSelected});
    selected_.insert(selected_.begin() + index, false);
    // The current item moves first, so that handlers of the scrolling below see where it is.
    scrollIntoView_ = false;
    if (listIndex_ >= 0 && index <= listIndex_) SetListIndex(listIndex_ + 1);
    UpdateScrollBar();
    surface_.RepaintAll();
}

void ClipListModel::InsertItems(int index, std::vector<ClipItem> items) {
    if (items.empty()) return;
    if (index > ListCount() || index < 0) throw ClipListError(kErrInvalidIndex, "invalid item index");
    const int added = int(items.size());
    if (ListCount() + added > kMaxCount) throw ClipListError(kErrOverflow, "the list is full");
    items_.insert(items_.begin() + index, std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
    selected_.insert(selected_.begin() + index, std::size_t(added), false);
    scrollIntoView_ = false;
    const int top = topIndex_;
    if (listIndex_ >= 0 && index <= listIndex_) SetListIndex(listIndex_ + added);
    UpdateScrollBar();
    // The rows in view stay in view: drawn in order, they moved down by as many as came before them.
    if (!reversed_ && index <= top && ListCount() - added > visibleRows_) ScrollTo(top + added);
    surface_.RepaintAll();
}

void ClipListModel::ModifyItem(int index, const std::optional<std::string>& text, int16_t icon,
                               int16_t iconSelected) {
    CheckIndex(index);
    ClipItem& item = items_[index];
    if (text) item.text = *text;
    if (icon > -1) item.icon = icon;
    if (iconSelected > -1) item.iconSelected = iconSelected;
    RepaintEdited(index);
}

void ClipListModel::RepaintEdited(int index) {
    surface_.RepaintItem(index);
    if (index == listIndex_) surface_.DrawFocusRect(index);
}

void ClipListModel::RemoveItem(int index) {
    if (ListCount() == 0 || index > ListCount() - 1) return;
    if (index < 0) throw ClipListError(kErrSubscript, "subscript out of range");
    items_.erase(items_.begin() + index);
    selected_.erase(selected_.begin() + index);
    scrollIntoView_ = false;
    if (index == listIndex_)
        SetListIndex(-1);
    else if (index < listIndex_)
        SetListIndex(listIndex_ - 1);
    UpdateScrollBar();
    if (ListCount() < visibleRows_) surface_.ClearSurface();
    surface_.RepaintAll();
}

void ClipListModel::RemoveItems(const std::vector<int>& indexes) {
    if (indexes.empty()) return;
    if (indexes.front() < 0 || indexes.back() > ListCount() - 1)
        throw ClipListError(kErrSubscript, "subscript out of range");
    int current = listIndex_;
    std::size_t kept = 0, next = 0;
    for (std::size_t index = 0; index < std::size_t(ListCount()); ++index) {
        if (next < indexes.size() && std::size_t(indexes[next]) == index) {
            ++next;
            if (int(index) == listIndex_) current = -1;
            else if (int(index) < listIndex_ && current >= 0) --current;
            continue;
        }
        if (kept != index) {
            items_[kept] = std::move(items_[index]);
            selected_[kept] = selected_[index];
        }
        ++kept;
    }
    // The last item is the list's end marker.
    items_[kept] = std::move(items_.back());
    selected_[kept] = selected_.back();
    items_.resize(kept + 1);
    selected_.resize(kept + 1);
    // The current row follows its item (none when it went), without scrolling to it.
    if (current != listIndex_) {
        lastCurrent_ = -1;  // its selection moved with it
        scrollIntoView_ = false;
        SetListIndex(current);
    }
    UpdateScrollBar();
    if (ListCount() < visibleRows_) surface_.ClearSurface();
    surface_.RepaintAll();
}

void ClipListModel::Clear() {
    if (scrollBarShown_) {
        scrollBarShown_ = false;
        surface_.ShowScrollBar(false, visibleRows_);
    }
    items_.assign(1, ClipItem{});
    selected_.assign(1, false);
    listIndex_ = -1;
    lastCurrent_ = -1;
    surface_.SetScrollRange(0);
    ScrollTo(0);
    surface_.ClearSurface();
}

void ClipListModel::SetListIndex(int value) {
    if (value > ListCount() - 1 || value < -1) throw ClipListError(kErrInvalidPropertyValue, "invalid ListIndex");
    surface_.DiscardEdit();
    listIndex_ = (value < 0 || ListCount() == 0) ? -1 : value;
    if (selectMode_ == 0) {
        if (lastCurrent_ >= 0 && lastCurrent_ <= ListCount()) selected_[lastCurrent_] = false;
        if (listIndex_ >= 0) selected_[listIndex_] = true;
    }
    if (lastCurrent_ >= 0) surface_.RepaintItem(lastCurrent_);
    lastCurrent_ = listIndex_;
    if (listIndex_ >= 0) {
        surface_.RepaintItem(listIndex_);
        surface_.DrawFocusRect(listIndex_);
    }
    if (scrollIntoView_) {
        const int row = RowOf(listIndex_);
        if (listIndex_ >= 0 && row < topIndex_)
            ScrollTo(row);
        else if (listIndex_ >= 0 && row > topIndex_ + visibleRows_ - 1)
            ScrollTo(row - visibleRows_ + 1);
    } else {
        scrollIntoView_ = true;
    }
    RaiseListIndexChange();
}

int ClipListModel::SelectedCount() const {
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void ClipListModel::CheckIndex(int index) const {
    if (ListCount() == 0 || index > ListCount()) throw ClipListError(kErrInvalidIndex, "invalid item index");
    if (index < 0) throw ClipListError(kErrSubscript, "subscript out of range");
}

const std::string& ClipListModel::ItemText(int index) const {
    CheckIndex(index);
    return textOf_ && index < ListCount() ? textOf_(index) : items_[index].text;
}

void ClipListModel::SetItemText(int index, const std::string& text) {
    CheckIndex(index);
    items_[index].text = text;
    RepaintEdited(index);
}

int16_t ClipListModel::ItemIcon(int index) const {
    CheckIndex(index);
    return items_[index].icon;
}

void ClipListModel::SetItemIcon(int index, int16_t icon) {
    CheckIndex(index);
    items_[index].icon = icon;  // stored as given, also negative
    RepaintEdited(index);
}

int16_t ClipListModel::ItemIconSelected(int index) const {
    CheckIndex(index);
    return items_[index].iconSelected;
}

void ClipListModel::SetItemIconSelected(int index, int16_t icon) {
    CheckIndex(index);
    items_[index].iconSelected = icon;
    RepaintEdited(index);
}

bool ClipListModel::ItemPinned(int index) const {
    CheckIndex(index);
    return items_[index].pinned;
}

void ClipListModel::SetItemPinned(int index, bool pinned) {
    CheckIndex(index);
    items_[index].pinned = pinned;
    RepaintEdited(index);
}

bool ClipListModel::ItemSelected(int index) const {
    CheckIndex(index);
    return selected_[index];
}

void ClipListModel::SetItemSelected(int index, bool selected) {
    CheckIndex(index);
    if (selectMode_ == 0) {
        if (selected) SetListIndex(index);
        return;
    }
    selected_[index] = selected;
    RepaintEdited(index);
}

void ClipListModel::WriteSelectionFlag(int index, bool selected) {
    CheckIndex(index);
    selected_[index] = selected;
    RepaintEdited(index);
}

void ClipListModel::SetSelectMode(int mode, bool atRunTime) {
    selectMode_ = mode;
    if (atRunTime && mode == 0 && listIndex_ >= 0) {
        std::fill(selected_.begin(), selected_.end(), false);
        selected_[listIndex_] = true;
        surface_.RepaintItem(listIndex_);
        surface_.DrawFocusRect(listIndex_);
    }
    UpdateScrollBar();
    surface_.RepaintAll();
}

void ClipListModel::SetTopIndex(int value) {
    if (value < 0 || value > ListCount() - visibleRows_)
        throw ClipListError(kErrInvalidPropertyValue, "invalid TopIndex");
    ScrollTo(value);
    RaiseTopIndexChange();
}

void ClipListModel::SetVisibleRows(int rows) {
    visibleRows_ = rows < 0 ? 0 : rows;
    // The size change hides the bar first; UpdateScrollBar shows it again with the new page size.
    if (scrollBarShown_) {
        scrollBarShown_ = false;
        surface_.ShowScrollBar(false, visibleRows_);
    }
    UpdateScrollBar();
}

void ClipListModel::UpdateScrollBar() {
    if (ListCount() <= visibleRows_) {
        if (scrollBarShown_) {
            scrollBarShown_ = false;
            surface_.ShowScrollBar(false, visibleRows_);
        }
    } else if (!scrollBarShown_) {
        scrollBarShown_ = true;
        surface_.ShowScrollBar(true, visibleRows_);
        surface_.RepaintAll();
    }
    surface_.SetScrollRange(ScrollMaximum());
    // A scroll bar keeps its value inside its range: a shrinking range pulls the top row up.
    const int highest = std::max(0, ScrollMaximum());
    if (topIndex_ > highest) ScrollTo(highest);
}

void ClipListModel::ScrollTo(int value) {
    value = std::clamp(value, 0, std::max(0, ScrollMaximum()));
    surface_.SetScrollValue(value);
    ScrollBarMoved(value, false);
}

void ClipListModel::ScrollBarMoved(int value, bool thumbDrag) {
    topIndex_ = value;
    if (value != lastScrollPosition_) {
        lastScrollPosition_ = value;
        lastMouseY_ = -1;
        surface_.DiscardEdit();
        surface_.RepaintAll();
        RaiseScroll();
        RaiseTopIndexChange();
    }
    if (thumbDrag) RaiseScroll();
}

void ClipListModel::RaiseListIndexChange() {
    if (events_) events_->ListIndexChange();
}

void ClipListModel::RaiseScroll() {
    if (events_) events_->Scroll();
}

void ClipListModel::RaiseTopIndexChange() {
    if (events_) events_->TopIndexChange();
}

}  // namespace cliplist
