#include "mainwindow/SettingsRules.h"

#include <cstdint>
#include <cstring>

#include "clipboard/IgnoredPrograms.h"
#include "clips/ClipCollection.h"
#include "common/SettingNumber.h"
#include "mainwindow/PopupRules.h"
#include "shell/SettingsStore.h"

namespace mainwindow {
namespace {

template <std::uint64_t kLow, std::uint64_t kHigh>
std::string WholeNumber(const std::string& typed) {
    std::uint64_t value = 0;
    if (common::SettingNumber(typed, kLow, kHigh, value)) return "";
    return "Type a whole number from " + std::to_string(kLow) + " to " + std::to_string(kHigh) + ".";
}

std::string HotkeyText(const std::string& typed) {
    return ParseHotkey(typed) ? "" : "Type one or more of Ctrl, Alt, Shift and Win, then a key, as Ctrl+Alt+H.";
}

std::string ProgramNames(const std::string& typed) {
    if (typed.find_first_of("\\/:") != std::string::npos)
        return "Name each program by its file name only, as notepad.exe; separate them with ;.";
    return typed.size() > 4096 ? "Name at most 4096 characters of programs." : "";
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A drive's folder (D:\Sync) or a share's (\\server\share\...); empty is this machine's own folder.
std::string FolderPath(const std::string& typed) {
    if (typed.empty()) return "";
    const bool drive = typed.size() >= 3 && IsLetter(typed[0]) && typed[1] == ':' && (typed[2] == '\\' || typed[2] == '/');
    const bool share = typed.size() >= 5 && typed.compare(0, 2, "\\\\") == 0 && typed.find('\\', 3) != std::string::npos &&
                       typed.find('\\', 3) + 1 < typed.size();
    const bool clean = typed.find_first_of("<>\"|?*", 2) == std::string::npos &&
                       typed.find_first_of(':', 2) == std::string::npos;
    if (!(drive || share) || !clean || typed.size() > 240)
        return "Type a whole folder path, as D:\\Sync\\Ardentia, or leave it empty for this machine's own folder.";
    return "";
}

std::string MachineName(const std::string& typed) {
    const bool hex = typed.size() == 8 && typed.find_first_not_of("0123456789abcdef") == std::string::npos;
    return hex && typed != "00000000" ? "" : "Type 8 digits and letters a to f, not all 0, as 3fa2c01b.";
}

std::string OnOrOff(const std::string&) { return ""; }

}  // namespace

const std::vector<SettingField>& SettingFields() {
    static const std::vector<SettingField> fields = {
        {shell::kKeyHotkey, "Hotkey for the history popup (press it here)", kDefaultHotkey, HotkeyText,
         FieldKind::kHotkey},
        {shell::kKeyHistorySize, "Clips the history keeps", "25", WholeNumber<1, clips::kMaxHistoryClips>},
        {shell::kKeyHistoryDisk, "Disk space for the history (MB)", "1024", WholeNumber<1, 1048576>},
        {shell::kKeyHistoryBudget, "Memory for the history (MB)", "256", WholeNumber<1, 3072>},
        {shell::kKeyHistoryFolder, "History folder (shared: one history on several machines)", "", FolderPath,
         FieldKind::kFolder},
        {shell::kKeyMachineId, "This machine's name in the history folder", "", MachineName},
        {shell::kKeySecretSeconds, "Seconds a copy like a password stays (0: none)", "60", WholeNumber<0, 86400>},
        {shell::kKeyIgnorePrograms, "Programs never captured (name.exe; ...)", "", ProgramNames, FieldKind::kPrograms},
        {shell::kKeyRememberHistory, "Keep every clip on disk (off: pinned only)", shell::kOn, OnOrOff,
         FieldKind::kTick},
        {shell::kKeyNewestFirst, "Newest first in the list and the search", shell::kOff, OnOrOff,
         FieldKind::kTick},
        {shell::kKeyWindowsStartup, "Start with Windows", shell::kOff, OnOrOff, FieldKind::kTick},
        {shell::kKeyMinimized, "Start in the tray", shell::kOff, OnOrOff, FieldKind::kTick},
    };
    return fields;
}

std::string TickShown(const SettingField& field, const std::string& kept) {
    const char* other = std::strcmp(field.absent, shell::kOn) == 0 ? shell::kOff : shell::kOn;
    return kept == other ? other : field.absent;
}

std::string WithProgram(const std::string& list, const std::string& program) {
    if (program.empty() || clipboard::IsIgnoredProgram(clipboard::ParseIgnoredPrograms(list), program)) return list;
    const std::size_t end = list.find_last_not_of("; ");
    return end == std::string::npos ? program : list.substr(0, end + 1) + "; " + program;
}

}  // namespace mainwindow
