#include "clipboard/SecretMarkers.h"

namespace clipboard {

namespace {

// Little-endian DWORD 1 is the only value that allows; a block may be larger than asked for.
bool Allows(const std::optional<std::string>& value) {
    return value && value->compare(0, 4, std::string("\x01\x00\x00\x00", 4)) == 0;
}

}  // namespace

bool MarkedSecret(const SecretMarkers& markers) {
    if (markers.exclude || markers.viewerIgnore) return true;
    return markers.historyFlag && !Allows(markers.historyValue);
}

bool MarkedThisMachineOnly(const SecretMarkers& markers) { return markers.cloudFlag && !Allows(markers.cloudValue); }

}  // namespace clipboard
