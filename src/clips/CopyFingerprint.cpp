#include "clips/CopyFingerprint.h"

#include <functional>

#include "clips/ClipCollection.h"

namespace clips {

Fingerprint FingerprintOf(const std::string& kind, const std::string& data,
                          const std::vector<const std::string*>& extras, const ClipId& newestTag) {
    if (kind == kKindPicture || kind.empty()) return {};
    const std::hash<std::string> hash;
    std::size_t h = hash(kind) ^ hash(data);
    for (const std::string* extra : extras) h = h * 1000003u ^ hash(*extra);
    return {newestTag, h, true};
}

bool SameCopy(const Fingerprint& a, const Fingerprint& b) {
    return a.valid && b.valid && a.hash == b.hash && a.newestTag == b.newestTag;
}

}  // namespace clips
