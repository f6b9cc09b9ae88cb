#include "shell/TrayRules.h"

#include <limits>
#include <stdexcept>

#include "common/Utf8.h"

namespace shell {

std::u16string TrayFieldText(const std::string& utf8, std::size_t units) {
    std::u16string text = common::Utf8ToUtf16(utf8);
    if (units == 0) return {};
    if (text.size() < units) return text;
    std::size_t kept = units - 1;
    // A lead surrogate at the cut would stand alone: leave it out with its partner.
    if (kept > 0 && text[kept - 1] >= 0xD800 && text[kept - 1] <= 0xDBFF) --kept;
    text.resize(kept);
    return text;
}

std::uint32_t BalloonTimeoutMs(std::int32_t showTimerSeconds) {
    if (showTimerSeconds <= 0) return 0;
    if (showTimerSeconds > std::numeric_limits<std::int32_t>::max() / 1000)
        throw std::overflow_error("Overflow: the balloon show time is too long");
    return std::uint32_t(showTimerSeconds) * 1000;
}

TrayDispatch DispatchTrayNotice(std::uint32_t shellMessage) {
    switch (shellMessage) {
        case 512: return {TrayNotice::kMouseMove, 0};
        case 513: return {TrayNotice::kMouseDown, 1};
        case 514: return {TrayNotice::kMouseUp, 1};
        case 515: return {TrayNotice::kMouseDblClick, 1};
        case 516: return {TrayNotice::kMouseDown, 2};
        case 517: return {TrayNotice::kMouseUp, 2};
        case 518: return {TrayNotice::kMouseDblClick, 2};
        case 1027:  // balloon hidden
        case 1028:  // balloon timed out
        case 1029:  // balloon clicked
            return {TrayNotice::kBalloonClosed, 0};
        default: return {TrayNotice::kNone, 0};
    }
}

}  // namespace shell
