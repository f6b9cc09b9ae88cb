// What the tray control says to the shell and hears from it, without Win32: the callback message, texts
// cut to the shell's fields, balloon times and the shell's notices. The record itself is the system's
// own NOTIFYICONDATAW, filled in TrayIcon.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace shell {

const std::uint32_t kTrayCallbackMessage = 1125;  // the first user message plus 101

// The text in UTF-16 for a field of `units` wide characters that ends in a NUL: at most units - 1 of them,
// never half of a surrogate pair.
std::u16string TrayFieldText(const std::string& utf8, std::size_t units);

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
