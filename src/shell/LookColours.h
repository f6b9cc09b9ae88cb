// The program's colours in each of the system's looks, without Win32: the designed ones in the light look,
// a dark palette in the dark one (the text always light on dark, never dark on dark), and the system's own
// colours in high contrast. Colours are 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <functional>

namespace shell {

enum class Look { kLight, kDark, kHighContrast };

struct LookColours {
    std::uint32_t back = 0;          // lists, the preview, boxes
    std::uint32_t text = 0;
    std::uint32_t face = 0;          // the window behind its controls
    std::uint32_t selectedBack = 0;  // the current row
    std::uint32_t selectedText = 0;
};

// The system colour indexes high contrast reads (as GetSysColor numbers them).
const int kSysWindow = 5, kSysWindowText = 8, kSysHighlight = 13, kSysHighlightText = 14, kSysButtonFace = 15;

// None for the light look: the designed colours stay.
bool LookRecolours(Look look);
LookColours ColoursOfLook(Look look, const std::function<std::uint32_t(int index)>& systemColour);
// The look as the system states it: high contrast over all, else dark when apps are asked for no light theme
// (the registry's AppsUseLightTheme is 0; absent or any other value is light).
Look LookOf(bool highContrast, const std::uint32_t* appsUseLightTheme);

}  // namespace shell
