#include "mainwindow/WindowPlacement.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace mainwindow {

std::string PlacementSetting(const SavedPlacement& p) {
    std::ostringstream text;
    text << p.left << ' ' << p.top << ' ' << p.width << ' ' << p.height << ' ' << (p.maximised ? 1 : 0) << ' '
         << p.listTwips;
    return text.str();
}

std::optional<SavedPlacement> ParsePlacementSetting(const std::string& text) {
    long values[6];
    const char* at = text.c_str();
    for (long& value : values) {
        char* end = nullptr;
        value = std::strtol(at, &end, 10);
        if (end == at || value < -1000000 || value > 1000000) return std::nullopt;
        at = end;
    }
    while (*at == ' ') ++at;
    if (*at || values[2] <= 0 || values[3] <= 0 || (values[4] != 0 && values[4] != 1) || values[5] < 1)
        return std::nullopt;
    return SavedPlacement{int(values[0]), int(values[1]), int(values[2]), int(values[3]), values[4] == 1,
                          int(values[5])};
}

Box PlaceOnScreen(const Box& frame, int captionHeight, const std::vector<Box>& workAreas) {
    if (workAreas.empty()) return frame;
    const int kGrip = 48;  // pixels of caption enough to take hold of the window by
    const auto overlap = [](int a0, int a1, int b0, int b1) { return std::min(a1, b1) - std::max(a0, b0); };
    const Box* nearest = &workAreas.front();
    long long nearestDistance = LLONG_MAX;
    for (const Box& area : workAreas) {
        if (overlap(frame.left, frame.Right(), area.left, area.Right()) >= kGrip &&
            overlap(frame.top, frame.top + captionHeight, area.top, area.Bottom()) >= captionHeight)
            return frame;
        const long long dx = std::max({0, area.left - frame.left, frame.left - (area.Right() - kGrip)});
        const long long dy = std::max({0, area.top - frame.top, frame.top - (area.Bottom() - captionHeight)});
        if (dx * dx + dy * dy < nearestDistance) {
            nearestDistance = dx * dx + dy * dy;
            nearest = &area;
        }
    }
    Box placed = frame;
    placed.width = std::min(frame.width, nearest->width);
    placed.height = std::min(frame.height, nearest->height);
    placed.left = std::clamp(frame.left, nearest->left, nearest->Right() - placed.width);
    placed.top = std::clamp(frame.top, nearest->top, nearest->Bottom() - placed.height);
    return placed;
}

}  // namespace mainwindow
