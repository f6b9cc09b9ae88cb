// What the list tells its container, and what the list asks of the window that shows it.
#pragma once

namespace cliplist {

// The container's side. Every handler has an empty default so a container implements only what it uses.
class ClipListEvents {
public:
    virtual void Click() {}
    virtual void DblClick() {}
    virtual void KeyDown(int /*keyCode*/, int /*shift*/) {}
    virtual void KeyPress(int /*keyAscii*/) {}
    virtual void KeyUp(int /*keyCode*/, int /*shift*/) {}
    virtual void ListIndexChange() {}
    virtual void MouseDown(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
    virtual void MouseMove(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
    virtual void MouseUp(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
    virtual void Scroll() {}
    virtual void TopIndexChange() {}

protected:
    ~ClipListEvents() = default;
};

// The drawing surface and scroll bar as the model sees them. Indices are item indices; rows that are
// not on screen are the surface's to ignore.
class ClipListSurface {
public:
    virtual void RepaintAll() = 0;
    virtual void RepaintItem(int index) = 0;
    virtual void DrawFocusRect(int index) = 0;
    virtual void ClearSurface() = 0;
    // Shows or hides the scroll bar and narrows or widens the rows to match.
    virtual void ShowScrollBar(bool shown, int largeChange) = 0;
    virtual void SetScrollRange(int maximum) = 0;
    virtual void SetScrollValue(int value) = 0;
    // Closes the in-place edit box without keeping its text, if it is open.
    virtual void DiscardEdit() = 0;

protected:
    ~ClipListSurface() = default;
};

}  // namespace cliplist
