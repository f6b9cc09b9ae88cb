// The user options, kept per user in HKEY_CURRENT_USER\Software\<application>\<section>, one
// string value per key. The key is opened and closed within each call; nothing is cached.
#pragma once

#include <optional>
#include <string>

namespace shell {

const char kSettingsApplication[] = "Kestrovan";
const char kSettingsSection[] = "Ardentia";

const char kKeyClipboardSwitch[] = "ClipboardSwitch";
const char kKeyWindowsStartup[] = "Windows Startup";
const char kKeyMinimized[] = "Minimized";
const char kKeyOutputFolder[] = "Output Folder";
const char kKeyHotkey[] = "Hotkey";  // the popup's, as "Ctrl+Alt+H"
const char kKeyHistoryBudget[] = "History Budget MB";  // what the history may hold, in megabytes
const char kKeyHistoryFolder[] = "History Folder";      // where the history is kept on disk
const char kKeyRememberHistory[] = "Remember History";  // "Off": only pinned clips are kept on disk
const char kKeyHistorySize[] = "History Size";          // how many clips the history keeps
const char kKeyHistoryDisk[] = "History Disk MB";       // what its files may take on the disk
const char kKeyMachineId[] = "Machine Id";              // this machine's part of the history's file names
const char kKeyIgnorePrograms[] = "Ignore Programs";    // programs whose copies are never captured, ";" apart
const char kKeySecretSeconds[] = "Secret Seconds";
const char kKeyNewestFirst[] = "Newest First";          // "On": the list and the search show the newest first      // how long a copy that looks like a credential stays
const char kOn[] = "On";
const char kOff[] = "Off";

// The longest value a read accepts; anything longer reads as the default rather than cut short.
const unsigned kMaxSettingLength = 32767;

// The stored text, or the default when the key is absent, is not a string, or is too long.
std::string GetSetting(const std::string& key, const std::string& defaultValue);
// True when a value of that name is stored, whatever its type.
bool SettingExists(const std::string& key);
// The value kept, none when none is; one of another type reads as "?", a value no setting understands.
inline std::optional<std::string> KeptSetting(const std::string& key) {
    if (!SettingExists(key)) return std::nullopt;
    return GetSetting(key, "?");
}
// Creates the key on first use. False when the store cannot be written.
bool SaveSetting(const std::string& key, const std::string& value);

// Only the exact text "On" is on.
inline bool IsOn(const std::string& value) { return value == kOn; }

}  // namespace shell
