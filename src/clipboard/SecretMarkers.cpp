#include "clipboard/SecretMarkers.h"

namespace clipboard {

bool MarkedSecret(const SecretMarkers& markers) {
    if (markers.exclude || markers.viewerIgnore) return true;
    if (!markers.historyFlag) return false;
    // Little-endian DWORD 1 is the only value that lets the copy in; a block may be larger than asked for.
    const std::string allowed("\x01\x00\x00\x00", 4);
    return !(markers.historyValue && markers.historyValue->compare(0, 4, allowed) == 0);
}

}  // namespace clipboard
