#include "cliplist/ClipListProperties.h"

namespace cliplist {

ClipListProperties ReadClipListProperties(const common::PropertyBag& bag, const common::FontSpec& ambientFont) {
    const ClipListProperties d;
    ClipListProperties p;
    p.appearance = bag.GetInt16("Appearance", d.appearance);
    p.borderStyle = bag.GetInt16("BorderStyle", d.borderStyle);
    p.enabled = bag.GetBool("Enabled", d.enabled);
    p.scrollBarWidth = bag.GetInt16("ScrollBarWidth", d.scrollBarWidth);
    p.font = bag.GetFont("Font", ambientFont);
    p.fontNormal = bag.GetColour("FontNormal", d.fontNormal);
    p.fontSelected = bag.GetColour("FontSelected", d.fontSelected);
    p.backNormal = bag.GetColour("BackNormal", d.backNormal);
    p.backSelected = bag.GetColour("BackSelected", d.backSelected);
    p.backSelectedG1 = bag.GetColour("BackSelectedG1", d.backSelectedG1);
    p.backSelectedG2 = bag.GetColour("BackSelectedG2", d.backSelectedG2);
    p.boxBorder = bag.GetColour("BoxBorder", d.boxBorder);
    p.boxOffset = bag.GetInt16("BoxOffset", d.boxOffset);
    p.boxRadius = bag.GetInt16("BoxRadius", d.boxRadius);
    p.alignment = bag.GetInt32("Alignment", d.alignment);
    p.focus = bag.GetBool("Focus", d.focus);
    p.hoverSelection = bag.GetBool("HoverSelection", d.hoverSelection);
    p.wordWrap = bag.GetBool("WordWrap", d.wordWrap);
    p.itemHeight = bag.GetInt16("ItemHeight", d.itemHeight);
    p.itemHeightAuto = bag.GetBool("ItemHeightAuto", d.itemHeightAuto);
    p.itemOffset = bag.GetInt16("ItemOffset", d.itemOffset);
    p.itemTextLeft = bag.GetInt16("ItemTextLeft", d.itemTextLeft);
    p.orderType = bag.GetInt32("OrderType", d.orderType);
    p.selectionPicture = bag.GetPicture("SelectionPicture");
    p.selectMode = bag.GetInt32("SelectMode", d.selectMode);
    p.selectModeStyle = bag.GetInt32("SelectModeStyle", d.selectModeStyle);
    p.mousePointer = bag.GetInt16("MousePointer", d.mousePointer);
    p.mouseIcon = bag.GetPicture("MouseIcon");
    return p;
}

void WriteClipListProperties(const ClipListProperties& p, const common::FontSpec& ambientFont,
                             common::PropertyBag& bag) {
    const ClipListProperties d;
    bag.PutInt("Appearance", p.appearance, d.appearance);
    bag.PutInt("BorderStyle", p.borderStyle, d.borderStyle);
    bag.PutBool("Enabled", p.enabled, d.enabled);
    bag.PutInt("ScrollBarWidth", p.scrollBarWidth, d.scrollBarWidth);
    bag.PutFont("Font", p.font, ambientFont);
    bag.PutColour("FontNormal", p.fontNormal, d.fontNormal);
    bag.PutColour("FontSelected", p.fontSelected, d.fontSelected);
    bag.PutColour("BackNormal", p.backNormal, d.backNormal);
    bag.PutColour("BackSelected", p.backSelected, d.backSelected);
    bag.PutColour("BackSelectedG1", p.backSelectedG1, d.backSelectedG1);
    bag.PutColour("BackSelectedG2", p.backSelectedG2, d.backSelectedG2);
    bag.PutColour("BoxBorder", p.boxBorder, d.boxBorder);
    bag.PutInt("BoxOffset", p.boxOffset, d.boxOffset);
    bag.PutInt("BoxRadius", p.boxRadius, d.boxRadius);
    bag.PutInt("Alignment", p.alignment, d.alignment);
    bag.PutBool("Focus", p.focus, d.focus);
    bag.PutBool("HoverSelection", p.hoverSelection, d.hoverSelection);
    bag.PutBool("WordWrap", p.wordWrap, d.wordWrap);
    bag.PutInt("ItemHeight", p.itemHeight, d.itemHeight);
    bag.PutBool("ItemHeightAuto", p.itemHeightAuto, d.itemHeightAuto);
    bag.PutInt("ItemOffset", p.itemOffset, d.itemOffset);
    bag.PutInt("ItemTextLeft", p.itemTextLeft, d.itemTextLeft);
    bag.PutInt("OrderType", p.orderType, d.orderType);
    bag.PutPicture("SelectionPicture", p.selectionPicture);
    bag.PutInt("SelectMode", p.selectMode, d.selectMode);
    bag.PutInt("SelectModeStyle", p.selectModeStyle, d.selectModeStyle);
    bag.PutInt("MousePointer", p.mousePointer, d.mousePointer);
    bag.PutPicture("MouseIcon", p.mouseIcon);
}

}  // namespace cliplist
