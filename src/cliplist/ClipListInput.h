// The keyboard and mouse rules of the list: which keys move the current item, how presses, drags and
// hovering select, and when the list scrolls by itself while the pointer is held above or below it.
// No window here; the control feeds it positions in pixels and runs the auto-scroll loop it asks for.
#pragma once

#include "cliplist/ClipListModel.h"

namespace cliplist {

enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum KeyCode { kKeySpace = 32, kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35, kKeyHome = 36, kKeyUp = 38,
               kKeyDown = 40 };
enum class AutoScroll { kNone, kUp, kDown };

class ClipListInput {
public:
    explicit ClipListInput(ClipListModel& model) : model_(model), windowSide_(model) {}

    // Geometry and options the window keeps up to date.
    void SetRowHeight(int pixels) { rowHeight_ = pixels; }
    void SetClientHeight(int pixels) { clientHeight_ = pixels; }
    void SetHoverSelection(bool on) { hoverSelection_ = on; }

    void KeyDown(int keyCode, int shift);
    void MouseDown(int button, int shift, float x, float y);
    // Returns the auto-scroll the pointer position asks for; the window runs it.
    AutoScroll MouseMove(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    // The button was lost without a release (capture taken away): no event, but drags end.
    void CancelButton() { buttonDown_ = false; }
    void Click();
    void DblClick();

    // The auto-scroll the current pointer position asks for while a button is down.
    AutoScroll PendingAutoScroll() const;
    // Milliseconds between steps at the current pointer distance: 20 ms less per pixel, at least 40.
    int AutoScrollInterval(AutoScroll direction) const;
    // One step: the neighbouring item becomes current (and takes DragState in SelectMode 1).
    void AutoScrollStep(AutoScroll direction);

    bool ButtonDown() const { return buttonDown_; }
    bool DragState() const { return dragState_; }

private:
    int RowAt(float y) const;

    ClipListModel& model_;
    ClipListModel::WindowSide windowSide_;
    int rowHeight_ = 1;
    int clientHeight_ = 0;
    bool hoverSelection_ = false;
    bool buttonDown_ = false;
    bool dragState_ = false;
    int pointerY_ = 0;
};

}  // namespace cliplist
