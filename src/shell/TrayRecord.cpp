#include "shell/TrayRecord.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace shell {

TrayRecord::TrayRecord(std::uint32_t window, std::uint32_t id) {
    PutNumber(kFieldSize, kTrayRecordSize);
    PutNumber(kFieldWindow, window);
    PutNumber(kFieldId, id);
}

void TrayRecord::SetIcon(std::uint32_t icon) {
    PutNumber(kFieldIcon, icon);
    AddFlag(kNifIcon);
}

void TrayRecord::SetTip(const std::string& tip) {
    PutText(kFieldTip, tip);
    AddFlag(kNifTip);
}

void TrayRecord::SetCallbackMessage(std::uint32_t message) {
    PutNumber(kFieldCallback, message);
    AddFlag(kNifMessage);
}

void TrayRecord::SetInfo(const std::string& title, const std::string& text, std::uint32_t timeoutMs) {
    PutText(kFieldInfoTitle, title);
    PutText(kFieldInfo, text);
    PutNumber(kFieldTimeout, timeoutMs);
    PutNumber(kFieldInfoFlags, 0);
    AddFlag(kNifInfo);
}

std::uint32_t TrayRecord::Number(TrayField field) const {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < 4; ++i) value |= std::uint32_t(bytes_[field.offset + i]) << (8 * i);
    return value;
}

void TrayRecord::PutNumber(TrayField field, std::uint32_t value) {
    for (std::uint32_t i = 0; i < 4; ++i) bytes_[field.offset + i] = std::uint8_t(value >> (8 * i));
}

// The text, one NUL, then spaces to the end of the field; at most length - 1 characters of text.
void TrayRecord::PutText(TrayField field, const std::string& text) {
    const std::uint32_t kept = std::min<std::uint32_t>(std::uint32_t(text.size()), field.length - 1);
    std::uint8_t* out = bytes_.data() + field.offset;
    std::copy(text.begin(), text.begin() + kept, out);
    out[kept] = 0;
    std::fill(out + kept + 1, out + field.length, std::uint8_t(' '));
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
