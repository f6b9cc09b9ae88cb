#include "clips/CopyFingerprint.h"

#include <functional>

#include "clips/ClipCollection.h"

namespace clips {

namespace {
Fingerprint gLastSeen;
}  // namespace

Fingerprint FingerprintOf(const std::string& kind, const std::string& data,
                          const std::vector<const std::string*>& extras, const std::string& newestTag) {
    if (kind == kKindPicture || kind.empty()) return {};
    const std::hash<std::string> hash;
    std::size_t h = hash(kind) ^ hash(data);
    for (const std::string* extra : extras) h = h * 1000003u ^ hash(*extra);
    return {newestTag, h, true};
}

void RememberSeen(const Fingerprint& seen) { gLastSeen = seen; }
void ForgetSeen() { gLastSeen = {}; }

bool SameAsLastSeen(const Fingerprint& copy) {
    return copy.valid && gLastSeen.valid && copy.hash == gLastSeen.hash && copy.newestTag == gLastSeen.newestTag;
}

}  // namespace clips
