#include "mainwindow/SettingsRules.h"

#include <cstdint>

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

}  // namespace

const std::vector<SettingField>& SettingFields() {
    static const std::vector<SettingField> fields = {
        {shell::kKeyHotkey, "Hotkey for the history popup", kDefaultHotkey, HotkeyText},
        {shell::kKeyHistorySize, "Clips the history keeps", "25", WholeNumber<1, 10000>},
        {shell::kKeyHistoryDisk, "Disk space for the history (MB)", "1024", WholeNumber<1, 1048576>},
        {shell::kKeyHistoryBudget, "Memory for the history (MB)", "256", WholeNumber<1, 3072>},
        {shell::kKeySecretSeconds, "Seconds a copy like a password stays (0: none)", "60", WholeNumber<0, 86400>},
        {shell::kKeyIgnorePrograms, "Programs never captured (name.exe; ...)", "", ProgramNames},
    };
    return fields;
}

}  // namespace mainwindow
