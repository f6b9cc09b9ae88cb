#include "cliplist/ClipListControl.h"

#include <cmath>
#include <cwchar>

#include "common/WindowText.h"

namespace cliplist {

namespace {
uint32_t SysColour(int index) { return GetSysColor(index); }
}  // namespace

COLORREF ClipListControl::Translate(uint32_t ole) { return TranslateColor(ole, SysColour); }

void ClipListControl::SetImageList(HIMAGELIST images) { StoreAndRepaint(images_, images); }

void ClipListControl::SetColour(Colour& colour, uint32_t ole) {
    colour = Colour{ole, Translate(ole)};
    RepaintAll();
}

void ClipListControl::SetGradientColour(GradientColour& colour, uint32_t ole) {
    colour = GradientColour{ole, ColorToVertex(Translate(ole))};  // throws before anything is stored
    RepaintAll();
}

void ClipListControl::SetBackNormal(uint32_t ole) { SetColour(backNormal_, ole); }
void ClipListControl::SetBackSelected(uint32_t ole) { SetColour(backSelected_, ole); }
void ClipListControl::SetBackSelectedG1(uint32_t ole) { SetGradientColour(gradientFrom_, ole); }
void ClipListControl::SetBackSelectedG2(uint32_t ole) { SetGradientColour(gradientTo_, ole); }
void ClipListControl::SetBoxBorder(uint32_t ole) { SetColour(boxBorder_, ole); }
void ClipListControl::SetFontSelected(uint32_t ole) { SetColour(fontSelected_, ole); }

void ClipListControl::SetFontNormal(uint32_t ole) {
    carriedTextColour_ = Translate(ole);
    SetColour(fontNormal_, ole);
}

void ClipListControl::SetAlignment(int value) { StoreAndRepaint(alignment_, value); }

void ClipListControl::ApplyFrameStyle() {
    if (!hwnd_) return;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE) & ~WS_BORDER;
    LONG exStyle = GetWindowLongA(hwnd_, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE;
    if (borderStyle_ == 1) {
        if (appearance_ == 1)
            exStyle |= WS_EX_CLIENTEDGE;
        else
            style |= WS_BORDER;
    }
    SetWindowLongA(hwnd_, GWL_STYLE, style);
    SetWindowLongA(hwnd_, GWL_EXSTYLE, exStyle);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void ClipListControl::SetAppearance(int value) {
    appearance_ = value;
    ApplyFrameStyle();
}

void ClipListControl::SetBorderStyle(int value) {
    borderStyle_ = value;
    ApplyFrameStyle();
}

void ClipListControl::SetBoxOffset(int value) {
    if (value <= rowHeight_ / 2) boxOffset_ = value;
    RepaintAll();
}

void ClipListControl::SetBoxRadius(int value) { StoreAndRepaint(boxRadius_, value); }

bool ClipListControl::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void ClipListControl::SetEnabled(bool value) {
    if (!hwnd_) return;
    EnableWindow(hwnd_, value);
    EnableWindow(sbVert_, value);
}

void ClipListControl::SetShowsFocusRect(bool value) {
    const bool turnedOn = value && !showsFocusRect_;
    showsFocusRect_ = value;
    if (turnedOn)
        DrawFocusRect(model_.ListIndex());
    else if (!value)
        RepaintItem(model_.ListIndex());
}

void ClipListControl::SetFont(const LOGFONTW& font) {
    font_ = font;
    fontSpec_ = FontSpecOf(font);
    RecreateFonts();
    SizeChanged();
    RepaintAll();
}

void ClipListControl::SetHoverSelection(bool value) {
    hoverSelection_ = value;
    input_.SetHoverSelection(value);
    RepaintItem(model_.ListIndex());
    DrawFocusRect(model_.ListIndex());
}

void ClipListControl::SetItemHeight(int value) {
    itemHeight_ = value;
    SizeChanged();
    RepaintAll();
}

void ClipListControl::SetItemHeightAuto(bool value) {
    itemHeightAuto_ = value;
    SizeChanged();
    RepaintAll();
}

void ClipListControl::SetItemOffset(int value) {
    if (value <= rowHeight_) itemOffset_ = value;
    RepaintAll();
}

void ClipListControl::SetItemTextLeft(int value) { StoreAndRepaint(itemTextLeft_, value); }

void ClipListControl::SetScrollBarWidth(int value) {
    scrollBarWidth_ = ClampScrollBarWidth(value, ClientWidth());
    SizeChanged();
}

void ClipListControl::SetSelectionPicture(HBITMAP picture) {
    selectionPictureRef_.clear();
    StoreAndRepaint(selectionPicture_, picture);
}

namespace {

int ScreenDpi() {
    gdi::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

std::string PathOfFileReference(const std::string& reference) {
    return reference.rfind("file:", 0) == 0 ? reference.substr(5) : std::string();
}

}  // namespace

void ClipListControl::Rescale(int dpi, int was) {
    if (dpi <= 0 || was <= 0 || dpi == was) return;
    LOGFONTW font = Font();
    font.lfHeight = MulDiv(font.lfHeight, dpi, was);
    SetFont(font);
    SetItemHeight(MulDiv(ItemHeight(), dpi, was));
    SetItemTextLeft(MulDiv(ItemTextLeft(), dpi, was));
    SetScrollBarWidth(MulDiv(ScrollBarWidth(), dpi, was));
}

common::FontSpec ClipListControl::FontSpecOf(const LOGFONTW& font) const {
    common::FontSpec described;
    described.name = common::Narrow(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE));
    const int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    described.points = std::round(height * 72.0 / ScreenDpi() * 4) / 4;  // to the quarter point
    described.weight = font.lfWeight;
    described.italic = font.lfItalic != 0;
    described.underline = font.lfUnderline != 0;
    described.strikethrough = font.lfStrikeOut != 0;
    return described;
}

LOGFONTW ClipListControl::LogFontOf(const common::FontSpec& described) const {
    LOGFONTW font = {};
    font.lfHeight = -int(std::lround(described.points * ScreenDpi() / 72.0));
    font.lfWeight = described.weight;
    font.lfItalic = described.italic;
    font.lfUnderline = described.underline;
    font.lfStrikeOut = described.strikethrough;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, common::Widen(described.name).c_str(), LF_FACESIZE);
    return font;
}

void ClipListControl::ReadProperties(const common::PropertyBag& bag, const common::FontSpec& ambientFont) {
    const ClipListProperties p = ReadClipListProperties(bag, ambientFont);
    const ClipListProperties defaults;
    appearance_ = p.appearance;
    borderStyle_ = p.borderStyle;
    ApplyFrameStyle();
    if (hwnd_) EnableWindow(hwnd_, p.enabled);
    scrollBarWidth_ = p.scrollBarWidth;
    fontSpec_ = p.font;
    font_ = LogFontOf(p.font);
    RecreateFonts();
    SetColour(fontNormal_, p.fontNormal);
    SetColour(fontSelected_, p.fontSelected);
    SetColour(backNormal_, p.backNormal);
    SetColour(backSelected_, p.backSelected);
    // A stored gradient colour that is no colour at all reads as its default.
    try {
        SetGradientColour(gradientFrom_, p.backSelectedG1);
    } catch (const ClipListError&) {
        SetGradientColour(gradientFrom_, defaults.backSelectedG1);
    }
    try {
        SetGradientColour(gradientTo_, p.backSelectedG2);
    } catch (const ClipListError&) {
        SetGradientColour(gradientTo_, defaults.backSelectedG2);
    }
    SetColour(boxBorder_, p.boxBorder);
    boxOffset_ = p.boxOffset;
    boxRadius_ = p.boxRadius;
    alignment_ = p.alignment;
    showsFocusRect_ = p.focus;
    hoverSelection_ = p.hoverSelection;
    input_.SetHoverSelection(p.hoverSelection);
    wordWrap_ = p.wordWrap;
    itemOffset_ = p.itemOffset;
    itemHeightAuto_ = p.itemHeightAuto;
    itemTextLeft_ = p.itemTextLeft;
    model_.SetOrderType(p.orderType);
    if (ownedSelectionPicture_) DeleteObject(ownedSelectionPicture_);
    ownedSelectionPicture_ = PathOfFileReference(p.selectionPicture).empty()
                                 ? nullptr
                                 : static_cast<HBITMAP>(LoadImageW(nullptr, common::Widen(PathOfFileReference(p.selectionPicture)).c_str(),
                                                                   IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    selectionPicture_ = ownedSelectionPicture_;
    selectionPictureRef_ = ownedSelectionPicture_ ? p.selectionPicture : "";
    model_.SetSelectMode(p.selectMode, false);
    selectModeStyle_ = p.selectModeStyle;
    mousePointer_ = p.mousePointer;
    if (ownedMouseIcon_) DestroyCursor(ownedMouseIcon_);
    ownedMouseIcon_ = PathOfFileReference(p.mouseIcon).empty() ? nullptr : LoadCursorFromFileW(common::Widen(PathOfFileReference(p.mouseIcon)).c_str());
    mouseIcon_ = ownedMouseIcon_;
    mouseIconRef_ = ownedMouseIcon_ ? p.mouseIcon : "";
    const int textHeight = TextHeight();
    itemHeight_ = p.itemHeight < textHeight ? textHeight : p.itemHeight;
    model_.SetListIndex(-1);
    SizeChanged();
    RepaintAll();
}

void ClipListControl::WriteProperties(common::PropertyBag& bag, const common::FontSpec& ambientFont) const {
    ClipListProperties p;
    p.appearance = std::int16_t(appearance_);
    p.borderStyle = std::int16_t(borderStyle_);
    p.enabled = Enabled();
    p.scrollBarWidth = std::int16_t(scrollBarWidth_);
    p.font = fontSpec_;
    p.fontNormal = fontNormal_.ole;
    p.fontSelected = fontSelected_.ole;
    p.backNormal = backNormal_.ole;
    p.backSelected = backSelected_.ole;
    p.backSelectedG1 = gradientFrom_.ole;
    p.backSelectedG2 = gradientTo_.ole;
    p.boxBorder = boxBorder_.ole;
    p.boxOffset = std::int16_t(boxOffset_);
    p.boxRadius = std::int16_t(boxRadius_);
    p.alignment = alignment_;
    p.focus = showsFocusRect_;
    p.hoverSelection = hoverSelection_;
    p.wordWrap = wordWrap_;
    p.itemHeight = std::int16_t(itemHeight_);
    p.itemHeightAuto = itemHeightAuto_;
    p.itemOffset = std::int16_t(itemOffset_);
    p.itemTextLeft = std::int16_t(itemTextLeft_);
    p.orderType = model_.OrderType();
    p.selectionPicture = selectionPictureRef_;
    p.selectMode = model_.SelectMode();
    p.selectModeStyle = selectModeStyle_;
    p.mousePointer = std::int16_t(mousePointer_);
    p.mouseIcon = mouseIconRef_;
    WriteClipListProperties(p, ambientFont, bag);
}

void ClipListControl::SetSelectModeStyle(int value) { StoreAndRepaint(selectModeStyle_, value); }

void ClipListControl::SetWordWrap(bool value) { StoreAndRepaint(wordWrap_, value); }

}  // namespace cliplist
