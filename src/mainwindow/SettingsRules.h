// What the settings window shows and checks, without Win32: each setting typed as text (or ticked), the
// registry value it lives in, and what is wrong with a value typed (or set by hand) that is not understood.
#pragma once

#include <string>
#include <vector>

namespace mainwindow {

enum class FieldKind {
    kText,
    kHotkey,    // a combination pressed in it is written there by name
    kFolder,    // with a Browse button
    kPrograms,  // with a button that picks a running program
    kTick,      // "On" or "Off"; absent is what a value neither On nor Off means
};

struct SettingField {
    const char* key;       // the registry value it is kept in
    const char* label;     // what the window says before its box (beside its tick)
    const char* absent;    // what the box shows while no value is kept (the default in use)
    std::string (*check)(const std::string& typed);  // "" when understood, else what is wrong
    FieldKind kind = FieldKind::kText;
};
const std::vector<SettingField>& SettingFields();

// A tick's state as the program reads the value kept: only the opposite of its default, spelled exactly,
// turns it away from the default.
std::string TickShown(const SettingField& field, const std::string& kept);
// A program's file name added to a list of them ("a.exe; b.exe"), once.
std::string WithProgram(const std::string& list, const std::string& program);

}  // namespace mainwindow
