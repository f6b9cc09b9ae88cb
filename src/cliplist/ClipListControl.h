// The clip list as a Win32 child control: a surface (picList) painted row by row, a vertical scroll bar
// (sbVert) and a hidden edit box (txtEdit). Items and selection live in the model; this class paints,
// lays out and forwards window input to it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>

#include "cliplist/ClipListInput.h"
#include "cliplist/ClipListModel.h"
#include "cliplist/ClipListProperties.h"
#include "cliplist/InPlaceEditor.h"
#include "cliplist/OleColor.h"
#include "cliplist/RowGeometry.h"
#include "cliplist/RowPainter.h"
#include "common/GdiScope.h"

namespace cliplist {

class ClipListControl : private ClipListSurface {
public:
    ClipListControl();
    ~ClipListControl();
    ClipListControl(const ClipListControl&) = delete;
    ClipListControl& operator=(const ClipListControl&) = delete;

    // Creates the control window; position and size in the parent's client pixels. Without a font of
    // its own the control takes the parent's.
    bool Create(HWND parent, int id, int x, int y, int width, int height);
    HWND hwnd() const { return hwnd_; }
    HWND picList() const { return picList_; }
    HWND sbVert() const { return sbVert_; }
    HWND txtEdit() const { return editor_.Box(); }

    // Items, selection, scrolling: ClipListControl1.Model().AddItem(...) and so on.
    ClipListModel& Model() { return model_; }
    ClipListInput& Input() { return input_; }

    // While one lives, many rows change at once (Delete All, a trim) without painting each step: the list
    // and its scroll bar are painted once when the last ends.
    class PaintHold {
    public:
        explicit PaintHold(ClipListControl& list) : list_(list) { ++list_.paintHeld_; }
        ~PaintHold();
        PaintHold(const PaintHold&) = delete;
        PaintHold& operator=(const PaintHold&) = delete;

    private:
        ClipListControl& list_;
    };
    const ClipListModel& Model() const { return model_; }
    void SetEvents(ClipListEvents* events) { model_.SetEvents(events); }

    // The image list is the container's; the control only draws from it.
    void SetImageList(HIMAGELIST images);

    uint32_t BackNormal() const { return backNormal_.ole; }
    void SetBackNormal(uint32_t ole);
    uint32_t BackSelected() const { return backSelected_.ole; }
    void SetBackSelected(uint32_t ole);
    uint32_t BackSelectedG1() const { return gradientFrom_.ole; }
    void SetBackSelectedG1(uint32_t ole);  // ClipListError 5 for a colour beyond six hex digits
    uint32_t BackSelectedG2() const { return gradientTo_.ole; }
    void SetBackSelectedG2(uint32_t ole);
    uint32_t BoxBorder() const { return boxBorder_.ole; }
    void SetBoxBorder(uint32_t ole);
    uint32_t FontNormal() const { return fontNormal_.ole; }
    void SetFontNormal(uint32_t ole);
    uint32_t FontSelected() const { return fontSelected_.ole; }
    void SetFontSelected(uint32_t ole);

    int Alignment() const { return alignment_; }
    void SetAlignment(int value);
    int Appearance() const { return appearance_; }
    void SetAppearance(int value);
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int value);
    int BoxOffset() const { return boxOffset_; }
    void SetBoxOffset(int value);
    int BoxRadius() const { return boxRadius_; }
    void SetBoxRadius(int value);
    bool Enabled() const;
    void SetEnabled(bool value);
    // The persisted "Focus" property: whether the current row shows a focus rectangle.
    bool ShowsFocusRect() const { return showsFocusRect_; }
    void SetShowsFocusRect(bool value);
    LOGFONTW Font() const { return font_; }
    void SetFont(const LOGFONTW& font);
    // Font, rows, text indent and scroll bar drawn at another DPI (the window moved to a monitor of another scale).
    void Rescale(int dpi, int was);
    bool HoverSelection() const { return hoverSelection_; }
    void SetHoverSelection(bool value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    bool ItemHeightAuto() const { return itemHeightAuto_; }
    void SetItemHeightAuto(bool value);
    int ItemOffset() const { return itemOffset_; }
    void SetItemOffset(int value);
    int ItemTextLeft() const { return itemTextLeft_; }
    void SetItemTextLeft(int value);
    HCURSOR MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(HCURSOR cursor) {
        mouseIcon_ = cursor;
        mouseIconRef_.clear();
    }
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int value) { mousePointer_ = value; }
    int ScrollBarWidth() const { return scrollBarWidth_; }
    void SetScrollBarWidth(int value);
    HBITMAP SelectionPicture() const { return selectionPicture_; }
    void SetSelectionPicture(HBITMAP picture);  // the container keeps owning the bitmap
    int SelectModeStyle() const { return selectModeStyle_; }
    void SetSelectModeStyle(int value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    int RowHeight() const { return rowHeight_; }
    int VisibleRows() const { return model_.VisibleRows(); }
    Rect RowRect(int row) const;

    // In-place editing of the current item's text. StartEdit lays the edit box over the current row
    // (scrolling it into view first); Enter (and Ctrl+Enter without word-wrap) keeps the text, Escape,
    // a lost focus, a scroll or a new current item discard it. EndEdit(true) keeps it too.
    void StartEdit();
    void EndEdit(bool keepText = false);
    bool Editing() const { return editor_.IsOpen(); }

    // The persisted set: reading stores the values as they are (no clamping) and raises a stored
    // ItemHeight below the font's text height to that height; writing leaves out the defaults.
    // Pictures are read from "file:" references; a reference that does not load is none.
    void ReadProperties(const common::PropertyBag& bag, const common::FontSpec& ambientFont);
    void WriteProperties(common::PropertyBag& bag, const common::FontSpec& ambientFont) const;

    // What the tooltip says with the pointer at this height in the rows: a cut label's first line, or the
    // hint (empty: no tip) anywhere else.
    void SetHint(const std::string& hint) { hint_ = hint; }
    std::string TipAt(int y) const;
    HWND Tip() const { return tip_; }
    // The item at this height in the rows (-1 for none), and whether its label is too long for its row.
    int ItemAt(int y) const;
    bool LabelCut(int index) const;

    // Paints the visible rows onto dc, as the surface's paint notification does.
    void RedrawVisible(HDC dc);

private:
    // ClipListSurface: what the model asks of the window.
    void RepaintAll() override;
    void RepaintItem(int index) override;
    void DrawFocusRect(int index) override;
    void ClearSurface() override;
    void ShowScrollBar(bool shown, int largeChange) override;
    void SetScrollRange(int maximum) override;
    void SetScrollValue(int value) override;
    void DiscardEdit() override;

    // The window and its dispatch (ClipListControl.cpp).
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SurfaceProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleControl(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleSurface(UINT msg, WPARAM wp, LPARAM lp);
    RowAppearance LookOfRows() const;
    bool InView(int index) const;  // an item whose row is on the screen
    void PaintItem(HDC dc, int index);
    void PaintFocusOn(HDC dc, int index);
    void EditClosed(bool keepText, const std::string& text, bool hadFocus);

    // The tooltip (ClipListControlTip.cpp).
    void CreateTip();
    bool AnswerTip(LPARAM lp);
    void FollowTip(int y);
    HWND tip_ = nullptr;
    std::string hint_;
    std::wstring tipText_;
    int tipRow_ = -1;

    // Layout and scrolling (ClipListControlLayout.cpp).
    void SizeChanged();
    void OnVScroll(int code);
    void RecreateFonts();
    int TextHeight() const;
    int ClientWidth() const;
    int WidthTakenByScrollBar() const { return model_.ScrollBarShown() ? scrollBarWidth_ : 0; }

    // Mouse, keys and wheel (ClipListControlInput.cpp).
    bool HandleInput(UINT msg, WPARAM wp, LPARAM lp);
    void RunAutoScroll();
    void OnMouseWheel(int delta);

    // Answers for screen readers and scripts (ClipListControlAccess.cpp).
    static bool HasStdAccessibleProxy();
    bool AnswerAssistiveQuery(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // Properties and persistence (ClipListControlProperties.cpp).
    void ApplyFrameStyle();
    common::FontSpec FontSpecOf(const LOGFONTW& font) const;
    LOGFONTW LogFontOf(const common::FontSpec& font) const;

    ClipListModel model_;
    ClipListModel::WindowSide modelWindowSide_{model_};
    ClipListInput input_{model_};
    InPlaceEditor editor_;
    bool autoScrolling_ = false;
    bool keysGoToList_ = true;  // off while the in-place editor has the keys
    bool clickAfterDblClick_ = true;  // false from a double-click's second press to its release
    int wheelRemainder_ = 0;
    // Cleared on destruction, so a loop that handles messages notices when the control is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    HWND hwnd_ = nullptr;
    HWND picList_ = nullptr;
    HWND sbVert_ = nullptr;
    HIMAGELIST images_ = nullptr;

    // Colours keep the OLE value they were given and its translation, made when set.
    struct Colour {
        uint32_t ole;
        COLORREF rgb;
    };
    struct GradientColour {
        uint32_t ole;
        Vertex16 channels;
    };
    static COLORREF Translate(uint32_t ole);  // an OLE colour, system colours looked up
    void SetColour(Colour& colour, uint32_t ole);
    void SetGradientColour(GradientColour& colour, uint32_t ole);
    template <typename T>
    void StoreAndRepaint(T& field, T value) {
        field = value;
        RepaintAll();
    }

    Colour backNormal_, backSelected_, boxBorder_, fontNormal_, fontSelected_;
    GradientColour gradientFrom_, gradientTo_;
    COLORREF carriedTextColour_ = 0;  // the colour the last row or focus rectangle used; some looks keep it

    int alignment_ = 0, appearance_ = 1, borderStyle_ = 1, boxOffset_ = 1, boxRadius_ = 0;
    bool showsFocusRect_ = true, hoverSelection_ = false, itemHeightAuto_ = true, wordWrap_ = true;
    int itemHeight_ = 0, itemOffset_ = 0, itemTextLeft_ = 2, scrollBarWidth_ = 13;
    int selectModeStyle_ = 0, mousePointer_ = 0;
    HCURSOR mouseIcon_ = nullptr;
    HBITMAP selectionPicture_ = nullptr;

    std::string selectionPictureRef_, mouseIconRef_;
    HBITMAP ownedSelectionPicture_ = nullptr;
    HCURSOR ownedMouseIcon_ = nullptr;

    LOGFONTW font_{};            // the control's own font description
    common::FontSpec fontSpec_;  // the same in points, as stored: pixels do not give points back exactly
    gdi::Font rowFont_{nullptr};      // font_ with the underline off, as every row starts
    gdi::Font underlineFont_{nullptr};
    int rowHeight_ = 1;
    bool surfaceHasFocus_ = false;
    bool resizing_ = false;
    int paintHeld_ = 0;
    bool snappingHeightToRows_ = false;
};

}  // namespace cliplist
