// A question with more answers than yes and no: its text above a row of buttons, one an answer each.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mainwindow {

// The index of the answer pressed; -1 when the window was closed without one.
int AskChoice(HWND owner, const std::string& text, const std::vector<std::string>& answers);
using ChoiceFn = int (*)(HWND owner, const std::string& text, const std::vector<std::string>& answers);
void SetChoiceForTesting(ChoiceFn fn);  // null restores the window

const wchar_t kChoiceWindowClass[] = L"ArdentiaChoice";

}  // namespace mainwindow
