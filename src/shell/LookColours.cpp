#include "shell/LookColours.h"

namespace shell {

bool LookRecolours(Look look) { return look != Look::kLight; }

LookColours ColoursOfLook(Look look, const std::function<std::uint32_t(int index)>& systemColour) {
    if (look == Look::kHighContrast)
        return {systemColour(kSysWindow), systemColour(kSysWindowText), systemColour(kSysButtonFace),
                systemColour(kSysHighlight), systemColour(kSysHighlightText)};
    if (look == Look::kDark) return {0x00202020, 0x00F0F0F0, 0x002B2B2B, 0x00845F1F, 0x00FFFFFF};
    return {0x00FFFFFF, 0x00000000, systemColour(kSysButtonFace), systemColour(kSysHighlight),
            systemColour(kSysHighlightText)};
}

Look LookOf(bool highContrast, const std::uint32_t* appsUseLightTheme) {
    if (highContrast) return Look::kHighContrast;
    return appsUseLightTheme && *appsUseLightTheme == 0 ? Look::kDark : Look::kLight;
}

}  // namespace shell
