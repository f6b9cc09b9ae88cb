// The list's items, selection flags, current item and scroll position, with the rules for changing them.
// No window here: repainting and scrolling go to a ClipListSurface, notifications to ClipListEvents.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cliplist/ClipListError.h"
#include "cliplist/ClipListEvents.h"

namespace cliplist {

struct ClipItem {
    std::string text;
    int16_t icon = 0;          // 1-based image index; 0 or an unknown index draws nothing
    int16_t iconSelected = 0;  // the same for the selected look
    bool pinned = false;       // drawn as a pin at the row's end
};

class ClipListModel {
public:
    static constexpr int kMaxCount = 1 << 20;  // past any history the settings allow, with its pins

    explicit ClipListModel(ClipListSurface& surface);
    void SetEvents(ClipListEvents* events) { events_ = events; }
    // Where notifications go; a model without a container raises them into the void.
    ClipListEvents& Events() { return events_ ? *events_ : noEvents_; }

    void AddItem(const std::string& text, int16_t icon = 0, int16_t iconSelected = 0);
    void InsertItem(int index, const std::string& text, int16_t icon = 0, int16_t iconSelected = 0);
    // Many items at once before index (ListCount: at the end), with one repaint.
    void InsertItems(int index, std::vector<ClipItem> items);
    // Icons are replaced only when greater than -1; a missing text is left alone.
    void ModifyItem(int index, const std::optional<std::string>& text, int16_t icon = -1, int16_t iconSelected = -1);
    void RemoveItem(int index);
    void RemoveItems(const std::vector<int>& indexes);  // ascending, each once; repainted once
    void Clear();

    int ListCount() const { return static_cast<int>(items_.size()) - 1; }
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int value);
    int SelectedCount() const;

    // Indexed access; index ListCount addresses the empty spare slot.
    const std::string& ItemText(int index) const;
    // Rows that show a longer list's texts (a filtered view of it) need not copy them: each row's text is asked
    // of textOf, and the items' own stay empty.
    void SetTextSource(std::function<const std::string&(int index)> textOf) { textOf_ = std::move(textOf); }
    void SetItemText(int index, const std::string& text);
    int16_t ItemIcon(int index) const;
    void SetItemIcon(int index, int16_t icon);
    int16_t ItemIconSelected(int index) const;
    void SetItemIconSelected(int index, int16_t icon);
    bool ItemPinned(int index) const;
    void SetItemPinned(int index, bool pinned);
    bool ItemSelected(int index) const;
    // As the container sets it: with SelectMode 0 selecting an item makes it the current one.
    void SetItemSelected(int index, bool selected);

    int SelectMode() const { return selectMode_; }
    void SetSelectMode(int mode, bool atRunTime = true);
    int OrderType() const { return orderType_; }
    void SetOrderType(int type) { orderType_ = type; }

    // Drawn last item first (the newest at the top), or in the items' order. A row is a place on the screen,
    // an index an item: TopIndex, VisibleRows and the scroll bar count rows.
    bool Reversed() const { return reversed_; }
    void SetReversed(bool reversed);
    int RowOf(int index) const { return reversed_ && index >= 0 ? ListCount() - 1 - index : index; }
    // The item drawn on a row; -1 for a row without one.
    int IndexAt(int row) const {
        if (row < 0 || row >= ListCount()) return -1;
        return reversed_ ? ListCount() - 1 - row : row;
    }

    int TopIndex() const { return topIndex_; }
    // The property: a value outside the scroll range is an error (380).
    void SetTopIndex(int value);
    // Scrolls to value, kept inside the scroll range (the mouse wheel, bringing a row into view).
    void ScrollTo(int value);
    int VisibleRows() const { return visibleRows_; }
    bool ScrollBarShown() const { return scrollBarShown_; }
    int ScrollMaximum() const { return ListCount() - visibleRows_; }

    // What only the list's own window and its input rules change; the container has no use for it.
    class WindowSide;

private:
    void CheckIndex(int index) const;  // 381 outside 0..ListCount when the list has items, 9 below 0
    void RepaintEdited(int index);     // the row, and its focus rectangle when it is the current one
    void UpdateScrollBar();
    void SetVisibleRows(int rows);
    void ScrollBarMoved(int value, bool thumbDrag);
    void WriteSelectionFlag(int index, bool selected);
    void RaiseListIndexChange();
    void RaiseScroll();
    void RaiseTopIndexChange();

    ClipListSurface& surface_;
    ClipListEvents* events_ = nullptr;
    struct NoEvents final : ClipListEvents {};
    NoEvents noEvents_;
    std::vector<ClipItem> items_;       // always ListCount + 1 slots; the last one is the spare
    std::vector<bool> selected_;        // parallel to items_
    std::function<const std::string&(int index)> textOf_;
    int listIndex_ = -1;
    int lastCurrent_ = -1;              // the current item before the last change, to repaint it
    bool scrollIntoView_ = true;
    int selectMode_ = 0;
    int orderType_ = 0;
    bool reversed_ = false;
    int visibleRows_ = 0;
    int topIndex_ = 0;                  // the scroll bar's value
    int lastScrollPosition_ = 0;
    bool scrollBarShown_ = false;
    float lastMouseY_ = -1;
};

class ClipListModel::WindowSide {
public:
    explicit WindowSide(ClipListModel& model) : model_(model) {}
    // How many rows fit, after a size or font change.
    void SetVisibleRows(int rows) { model_.SetVisibleRows(rows); }
    // The scroll bar moved (by the user, or to a value the model set); thumbDrag for its tracking notice.
    void ScrollBarMoved(int value, bool thumbDrag = false) { model_.ScrollBarMoved(value, thumbDrag); }
    // Writes the flag itself and repaints its row, whatever the SelectMode (the mouse and key rules).
    void WriteSelectionFlag(int index, bool selected) { model_.WriteSelectionFlag(index, selected); }
    // The vertical pointer position of the last press or handled move; -1 for no row. Any scroll forgets it.
    float LastMouseY() const { return model_.lastMouseY_; }
    void SetLastMouseY(float y) { model_.lastMouseY_ = y; }

private:
    ClipListModel& model_;
};

}  // namespace cliplist
