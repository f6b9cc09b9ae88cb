#include "mainwindow/SettingsRules.h"

#include <gtest/gtest.h>

#include <cstring>

#include "shell/SettingsStore.h"

namespace mainwindow {
namespace {

std::string Problem(const char* key, const std::string& typed) {
    for (const SettingField& field : SettingFields())
        if (std::strcmp(field.key, key) == 0) return field.check(typed);
    ADD_FAILURE() << "no field for " << key;
    return "";
}

TEST(SettingsRulesTest, EachFieldSaysWhatIsWrongWithWhatWasTyped) {
    const struct {
        const char* key;
        const char* typed;
        bool understood;
    } cases[] = {
        {shell::kKeyHotkey, "Ctrl+Alt+H", true},     {shell::kKeyHotkey, "shift+win+f9", true},
        {shell::kKeyHotkey, "H", false},              {shell::kKeyHotkey, "Ctrl+Nothing", false},
        {shell::kKeyHistorySize, "1", true},          {shell::kKeyHistorySize, "100000", true},
        {shell::kKeyHistorySize, "0", false},         {shell::kKeyHistorySize, "100001", false},
        {shell::kKeyHistorySize, "2.5", false},       {shell::kKeyHistorySize, " 25", false},
        {shell::kKeyHistorySize, "", false},          {shell::kKeyHistoryDisk, "1048576", true},
        {shell::kKeyHistoryDisk, "1048577", false},   {shell::kKeyHistoryBudget, "3072", true},
        {shell::kKeyHistoryBudget, "3073", false},    {shell::kKeySecretSeconds, "0", true},
        {shell::kKeySecretSeconds, "-1", false},      {shell::kKeyIgnorePrograms, "", true},
        {shell::kKeyIgnorePrograms, "notepad.exe; Code", true},
        {shell::kKeyIgnorePrograms, "C:\\Tools\\x.exe", false},
        {shell::kKeyHistoryFolder, "", true},         {shell::kKeyHistoryFolder, "D:\\Sync\\Ardentia", true},
        {shell::kKeyHistoryFolder, "\\\\nas\\clips", true}, {shell::kKeyHistoryFolder, "\\\\nas", false},
        {shell::kKeyHistoryFolder, "Sync", false},    {shell::kKeyHistoryFolder, "D:\\a?b", false},
        {shell::kKeyMachineId, "3fa2c01b", true},     {shell::kKeyMachineId, "3FA2C01B", false},
        {shell::kKeyMachineId, "00000000", false},    {shell::kKeyMachineId, "3fa2c01", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Problem(c.key, c.typed).empty(), c.understood) << c.key << " " << c.typed;
    EXPECT_EQ(Problem(shell::kKeyHistorySize, "0"), "Type a whole number from 1 to 100000.");
}

// Every default the window shows for a value not kept is one its own check takes (the machine's name is
// always kept: made at the first start).
TEST(SettingsRulesTest, TheDefaultsShownAreUnderstood) {
    for (const SettingField& field : SettingFields())
        if (std::strcmp(field.key, shell::kKeyMachineId) != 0) {
            EXPECT_EQ(field.check(field.absent), "") << field.key;
        }
}

// A tick reads a hand-set value as the program does: only the exact opposite of its default turns it.
TEST(SettingsRulesTest, TicksAndProgramListsReadAsTheProgramReadsThem) {
    const auto tick = [](const char* key) {
        for (const SettingField& field : SettingFields())
            if (std::strcmp(field.key, key) == 0) return field;
        return SettingField{};
    };
    EXPECT_EQ(TickShown(tick(shell::kKeyRememberHistory), "off"), "On");
    EXPECT_EQ(TickShown(tick(shell::kKeyRememberHistory), "Off"), "Off");
    EXPECT_EQ(TickShown(tick(shell::kKeyWindowsStartup), "1"), "Off");
    EXPECT_EQ(TickShown(tick(shell::kKeyWindowsStartup), "On"), "On");
    EXPECT_EQ(WithProgram("", "vault.exe"), "vault.exe");
    EXPECT_EQ(WithProgram("a.exe; ", "vault.exe"), "a.exe; vault.exe");
    EXPECT_EQ(WithProgram("a.exe; VAULT", "vault.exe"), "a.exe; VAULT");
}

}  // namespace
}  // namespace mainwindow
