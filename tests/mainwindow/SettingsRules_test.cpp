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
        {shell::kKeyHistorySize, "1", true},          {shell::kKeyHistorySize, "10000", true},
        {shell::kKeyHistorySize, "0", false},         {shell::kKeyHistorySize, "10001", false},
        {shell::kKeyHistorySize, "2.5", false},       {shell::kKeyHistorySize, " 25", false},
        {shell::kKeyHistorySize, "", false},          {shell::kKeyHistoryDisk, "1048576", true},
        {shell::kKeyHistoryDisk, "1048577", false},   {shell::kKeyHistoryBudget, "3072", true},
        {shell::kKeyHistoryBudget, "3073", false},    {shell::kKeySecretSeconds, "0", true},
        {shell::kKeySecretSeconds, "-1", false},      {shell::kKeyIgnorePrograms, "", true},
        {shell::kKeyIgnorePrograms, "notepad.exe; Code", true},
        {shell::kKeyIgnorePrograms, "C:\\Tools\\x.exe", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Problem(c.key, c.typed).empty(), c.understood) << c.key << " " << c.typed;
    EXPECT_EQ(Problem(shell::kKeyHistorySize, "0"), "Type a whole number from 1 to 10000.");
}

// Every default the window shows for a value not kept is one its own check takes.
TEST(SettingsRulesTest, TheDefaultsShownAreUnderstood) {
    for (const SettingField& field : SettingFields()) EXPECT_EQ(field.check(field.absent), "") << field.key;
}

}  // namespace
}  // namespace mainwindow
