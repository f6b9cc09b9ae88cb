#include "cliplist/ClipListInput.h"

#include <algorithm>
#include <cmath>

namespace cliplist {

void ClipListInput::KeyDown(int keyCode, int shift) {
    const int count = model_.ListCount();
    const int current = model_.ListIndex();
    const int page = model_.VisibleRows();
    // Moves go by rows on the screen, whichever way the items are drawn.
    const auto goTo = [&](int row) { model_.SetListIndex(model_.IndexAt(std::clamp(row, 0, count - 1))); };
    if (count > 0 && current < 0) {
        // A keyboard user enters a list with no current item.
        if (keyCode == kKeyDown || keyCode == kKeyHome || keyCode == kKeySpace) goTo(0);
        if (keyCode == kKeyUp || keyCode == kKeyEnd) goTo(count - 1);
    } else if (count > 0) {
        const int row = model_.RowOf(current);
        switch (keyCode) {
            case kKeyUp:
                if (row > 0) goTo(row - 1);
                break;
            case kKeyDown:
                if (row < count - 1) goTo(row + 1);
                break;
            case kKeyPageUp:
                goTo(row > page ? row - page : 0);
                break;
            case kKeyPageDown:
                goTo(row < count - page - 1 ? row + page : count - 1);
                break;
            case kKeyHome:
                goTo(0);
                break;
            case kKeyEnd:
                goTo(count - 1);
                break;
            case kKeySpace:
                if (model_.SelectMode() != 0) windowSide_.WriteSelectionFlag(current, !model_.ItemSelected(current));
                model_.Events().Click();
                break;
            default:
                break;
        }
    }
    model_.Events().KeyDown(keyCode, shift);
}

int ClipListInput::RowAt(float y) const {
    return int(std::floor(y / float(rowHeight_ > 0 ? rowHeight_ : 1)));
}

void ClipListInput::MouseDown(int button, int shift, float x, float y) {
    if (button != kRightButton) {
        const int index = model_.IndexAt(RowAt(y) + model_.TopIndex());
        if (index >= 0) {
            if (model_.SelectMode() == 0) {
                windowSide_.WriteSelectionFlag(index, true);
            } else if (model_.SelectMode() == 1) {
                windowSide_.WriteSelectionFlag(index, !model_.ItemSelected(index));
                dragState_ = model_.ItemSelected(index);
            }
            windowSide_.SetLastMouseY(y);
            model_.SetListIndex(index);
        }
        buttonDown_ = true;
    }
    model_.Events().MouseDown(button, shift, x, y);
}

AutoScroll ClipListInput::MouseMove(int button, int shift, float x, float y) {
    pointerY_ = int(std::lround(y));
    AutoScroll wanted = AutoScroll::kNone;
    if (y < 0) {
        wanted = buttonDown_ ? AutoScroll::kUp : AutoScroll::kNone;
    } else if (y <= float(clientHeight_)) {
        const int row = pointerY_ / (rowHeight_ > 0 ? rowHeight_ : 1);
        const float last = windowSide_.LastMouseY();
        const int lastRow = last < 0 ? -1 : int(std::lround(last)) / (rowHeight_ > 0 ? rowHeight_ : 1);
        if (row != lastRow && (hoverSelection_ || button != 0)) {
            const int index = model_.IndexAt(row + model_.TopIndex());
            if (index >= 0) {
                windowSide_.WriteSelectionFlag(index, dragState_);
                model_.SetListIndex(index);
                windowSide_.SetLastMouseY(y);
            }
        }
    } else {
        wanted = buttonDown_ ? AutoScroll::kDown : AutoScroll::kNone;
    }
    model_.Events().MouseMove(button, shift, x, y);
    return wanted;
}

void ClipListInput::MouseUp(int button, int shift, float x, float y) {
    buttonDown_ = false;
    dragState_ = true;
    model_.Events().MouseUp(button, shift, x, y);
}

void ClipListInput::Click() {
    if (model_.ListIndex() >= 0) model_.Events().Click();
}

void ClipListInput::DblClick() {
    if (model_.ListIndex() >= 0) model_.Events().DblClick();
}

AutoScroll ClipListInput::PendingAutoScroll() const {
    if (!buttonDown_) return AutoScroll::kNone;
    if (pointerY_ < 0) return AutoScroll::kUp;
    if (pointerY_ > clientHeight_ - 1) return AutoScroll::kDown;
    return AutoScroll::kNone;
}

int ClipListInput::AutoScrollInterval(AutoScroll direction) const {
    const int interval = direction == AutoScroll::kUp ? 20 * pointerY_ + 500
                                                      : 500 - (pointerY_ - (clientHeight_ - 1)) * 20;
    return std::max(40, interval);
}

void ClipListInput::AutoScrollStep(AutoScroll direction) {
    const int current = model_.ListIndex();
    if (current < 0) return;  // without a current item the loop waits without moving
    const int next = model_.IndexAt(model_.RowOf(current) + (direction == AutoScroll::kUp ? -1 : 1));
    if (next < 0) return;
    if (model_.SelectMode() == 1) windowSide_.WriteSelectionFlag(next, dragState_);
    model_.SetListIndex(next);
}

}  // namespace cliplist
