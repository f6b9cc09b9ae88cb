// What the settings window shows and checks, without Win32: each setting typed as text, the registry value
// it lives in, and what is wrong with a value typed (or set by hand) that is not understood.
#pragma once

#include <string>
#include <vector>

namespace mainwindow {

struct SettingField {
    const char* key;       // the registry value it is kept in
    const char* label;     // what the window says before its box
    const char* absent;    // what the box shows while no value is kept (the default in use)
    std::string (*check)(const std::string& typed);  // "" when understood, else what is wrong
};
const std::vector<SettingField>& SettingFields();

}  // namespace mainwindow
