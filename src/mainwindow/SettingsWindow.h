// The settings window ("Ardentia Settings"): every setting kept as text in a box of its own, checked when
// OK is pressed, what is wrong said beside its box (the window stays open for it), and a value set by hand
// that is not understood said so when the window opens. Buttons for what is set in a window of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace mainwindow {

struct SettingsButton {
    std::string text;
    std::function<void()> press;
};
// Given the settings typed anew (by their registry value), puts them in force, or keeps the window open: the
// user answered no to a question, or a value cannot be taken (what is wrong with it, by its registry value).
struct SettingsOutcome {
    bool applied = false;
    std::map<std::string, std::string> problems;
};
using SettingsApply = std::function<SettingsOutcome(const std::map<std::string, std::string>& changed)>;
// What is wrong with a value understood, said while it is typed (a hotkey another program holds); "" for nothing.
using SettingsLiveCheck = std::function<std::string(const std::string& key, const std::string& typed)>;

// True when settings were changed and put in force. inUse: what a box shows while its value is not kept or
// empty, when that is not a fixed default (the folder in use, the name made for this machine).
bool EditSettings(HWND owner, const std::vector<SettingsButton>& buttons, const SettingsApply& apply,
                  const std::map<std::string, std::string>& inUse = {}, const SettingsLiveCheck& liveCheck = nullptr);

const wchar_t kSettingsWindowClass[] = L"ArdentiaSettings";

}  // namespace mainwindow
