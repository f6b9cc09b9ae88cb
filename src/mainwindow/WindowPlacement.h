// The main window's place between runs, without Win32: as the settings keep it, and brought back onto
// a screen that may have changed since (a monitor unplugged, another resolution).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mainwindow/MainLayout.h"

namespace mainwindow {

// The window as the settings keep it ("Window Placement"): its restored frame in screen pixels, whether
// it was maximised, and the list's width in twips (the same on a screen of another dpi).
struct SavedPlacement {
    int left = 0, top = 0, width = 0, height = 0;
    bool maximised = false;
    int listTwips = 0;
    bool operator==(const SavedPlacement& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height &&
               maximised == o.maximised && listTwips == o.listTwips;
    }
};
std::string PlacementSetting(const SavedPlacement& placement);
// Nothing for a value that is not six whole numbers with a positive size and a list width of at least 1.
std::optional<SavedPlacement> ParsePlacementSetting(const std::string& text);

// A window frame moved onto the screen: left as it is while a strip of its caption at least 48 pixels
// wide and as tall as the caption lies on one of the monitors' work areas; otherwise moved into the work
// area nearest to it (the first when none is), made smaller only when it is larger than that area.
Box PlaceOnScreen(const Box& frame, int captionHeight, const std::vector<Box>& workAreas);

}  // namespace mainwindow
