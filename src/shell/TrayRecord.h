// The notification-icon record the shell takes, built byte by byte so that its layout does not depend
// on which Windows headers compile it: the 488-byte layout of shell version 5.0, little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace shell {

const std::uint32_t kTrayCallbackMessage = 1125;  // the first user message plus 101
const std::uint32_t kTrayRecordSize = 488;

enum TrayFlag : std::uint32_t {
    kNifMessage = 1,
    kNifIcon = 2,
    kNifTip = 4,
    kNifInfo = 16,
};

// Field offsets and lengths of the record.
struct TrayField {
    std::uint32_t offset;
    std::uint32_t length;
};
const TrayField kFieldSize{0, 4};
const TrayField kFieldWindow{4, 4};
const TrayField kFieldId{8, 4};
const TrayField kFieldFlags{12, 4};
const TrayField kFieldCallback{16, 4};
const TrayField kFieldIcon{20, 4};
const TrayField kFieldTip{24, 128};
const TrayField kFieldInfo{160, 256};
const TrayField kFieldTimeout{416, 4};
const TrayField kFieldInfoTitle{420, 64};
const TrayField kFieldInfoFlags{484, 4};

class TrayRecord {
public:
    // Zero-filled, with the size, the owner window and the icon identifier: what every request carries.
    TrayRecord(std::uint32_t window, std::uint32_t id);

    void SetIcon(std::uint32_t icon);
    void SetTip(const std::string& tip);
    void SetCallbackMessage(std::uint32_t message);
    // Balloon title and text, the timeout in milliseconds; no balloon icon is asked for.
    void SetInfo(const std::string& title, const std::string& text, std::uint32_t timeoutMs);

    std::uint32_t Flags() const { return Number(kFieldFlags); }
    std::uint32_t Number(TrayField field) const;
    const std::uint8_t* Bytes() const { return bytes_.data(); }
    std::uint8_t* Bytes() { return bytes_.data(); }

private:
    void PutNumber(TrayField field, std::uint32_t value);
    void PutText(TrayField field, const std::string& text);
    void AddFlag(std::uint32_t flag) { PutNumber(kFieldFlags, Flags() | flag); }

    alignas(4) std::array<std::uint8_t, kTrayRecordSize> bytes_{};
};

// ShowTimer seconds as the balloon timeout; 0 for no timer. Throws std::overflow_error when the
// milliseconds do not fit a signed 32-bit number, rather than passing on a wrapped timeout.
std::uint32_t BalloonTimeoutMs(std::int32_t showTimerSeconds);

// What a mouse or balloon notice from the shell means for the icon.
enum class TrayNotice { kNone, kMouseMove, kMouseDown, kMouseUp, kMouseDblClick, kBalloonClosed };
struct TrayDispatch {
    TrayNotice notice;
    short button;  // 1 left, 2 right, 0 when no button takes part
};
TrayDispatch DispatchTrayNotice(std::uint32_t shellMessage);

}  // namespace shell
