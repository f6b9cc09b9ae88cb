#include "cliplist/RowLook.h"

namespace cliplist {

RowLook LookOfRow(bool selected, int selectModeStyle, bool hasSelectionPicture) {
    if (!selected) return {RowBackground::kNormal, TextColour::kFontNormal, false, false};
    const TextColour sel = TextColour::kFontSelected;
    switch (selectModeStyle) {
    case 0: return {RowBackground::kSelectedFill, sel, true, false};
    case 1: return {RowBackground::kTintAfterIcon, sel, true, false};
    case 2: return {RowBackground::kGradientVertical, sel, true, false};
    case 3: return {RowBackground::kGradientHorizontal, sel, true, false};
    case 4: return {RowBackground::kBox, sel, true, false};
    case 5: return {RowBackground::kNormal, sel, true, true};
    case 6: return {hasSelectionPicture ? RowBackground::kPicture : RowBackground::kSelectedFill, sel, true, false};
    default: return {RowBackground::kUntouched, TextColour::kUnchanged, true, false};
    }
}

}  // namespace cliplist
