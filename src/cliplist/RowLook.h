// What one row looks like for a SelectModeStyle: which background, text colour, icon and underline.
#pragma once

namespace cliplist {

enum class RowBackground {
    kNormal,              // filled with BackNormal
    kSelectedFill,        // filled with BackSelected
    kTintAfterIcon,       // BackNormal, then ANDed with BackSelected over background and icon
    kGradientVertical,    // BackSelectedG1 at the top to BackSelectedG2 at the bottom
    kGradientHorizontal,  // the same from left to right
    kBox,                 // BackNormal with a rounded BackSelected box outlined in BoxBorder
    kPicture,             // SelectionPicture stretched over the row
    kUntouched,           // an unknown style paints nothing: the previous pixels stay
};

enum class TextColour { kFontNormal, kFontSelected, kUnchanged };

struct RowLook {
    RowBackground background;
    TextColour text;
    bool selectedIcon;
    bool underline;
};

RowLook LookOfRow(bool selected, int selectModeStyle, bool hasSelectionPicture);

}  // namespace cliplist
