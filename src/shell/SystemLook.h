// The look the system asks for now (light, dark, high contrast), and what a window of ours does with it.
#pragma once

#include <windows.h>

#include "shell/LookColours.h"

namespace shell {

Look SystemLook();
LookColours SystemLookColours(Look look);
// A dark title bar on a dark look, where the system draws one (Windows 10 1809 and later).
void FollowLookInTitleBar(HWND window, Look look);
// True for the notice that the system's look changed (the app theme, or high contrast switched).
bool LookChangeNotice(HWND window, UINT message, LPARAM lParam);

// For a window's WM_CTLCOLOR* messages in a look that recolours: its control painted in the look's colours
// (face behind static text and ticks, back in boxes); null in the light look, where the window's own rule holds.
HBRUSH ControlBrushInLook(Look look, UINT message, HDC dc);
// The brush that fills a window's face in a look that recolours.
HBRUSH FaceBrushInLook(Look look);

}  // namespace shell
