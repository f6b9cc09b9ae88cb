// What tells one copy from the next: its kind and the data a clip keeps of it. The last copy seen is
// remembered with the newest clip of that moment, so that the same copy announced again (Wine importing
// the X side late, a program copying twice, the program's own put-back) adds no clip.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "clips/ClipCollection.h"

namespace clips {

struct Fingerprint {
    ClipId newestTag;  // the newest clip when this copy was seen
    std::size_t hash = 0;
    bool valid = false;
};

// Pictures are not compared: hashing their pixels would cost as much as the capture. `extras` are the
// bytes of the other formats kept with the clip.
Fingerprint FingerprintOf(const std::string& kind, const std::string& data,
                          const std::vector<const std::string*>& extras, const ClipId& newestTag);

// Whether two valid fingerprints are of one copy seen with one newest clip.
bool SameCopy(const Fingerprint& a, const Fingerprint& b);

}  // namespace clips
