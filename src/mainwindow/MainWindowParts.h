// What the main window's files share: its class names, colours, texts and control ids.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/WindowText.h"

namespace mainwindow {

const char kMainWindowClass[] = "ArdentiaForm1";
const char kPanelClass[] = "ArdentiaPanel";
const char kHandCursorFile[] = "\\HAND-M.CUR";
const std::uint32_t kWhite = 0x00FFFFFF;
const std::uint32_t kWindowColour = 0x80000005;
const char kPreviewTip[] = " Left Click to Open - Right Click to Open with... ";
const char kBalloonText[] =
    "has been minimized to the system tray.\r\nClick on the blue 'K' icon (K for Kestrovan) to bring the software back.";
// The clip list's stored settings; the labels start right of the 16-pixel kind icons.
const char kClipListProperties[] = "Font=Arial;9;700;0;0;0\nItemHeight=15\nItemTextLeft=20\n";
const int kClientWidthTwips = 8040;
const int kClientHeightTwips = 7305;

enum ControlId {
    kIdDeleteSelected = 101,
    kIdManagerSwitch,
    kIdDeleteAll,
    kIdSaveResults,
    kIdBrowseFolder,
    kIdStartWithWindows,
    kIdStartInTray,
    kIdOutputFolder,
    kIdPreview,
    kIdClipList,
    kIdCheckRemember,
    kIdSettings,
};

// Questions and notices, through the program's message box (tests answer it).
bool Confirmed(HWND owner, const std::string& question);
void Tell(HWND owner, const std::string& text);

// The command chosen from a shortcut menu at the pointer, 0 for none; tests choose in the system's place.
int ChooseFromMenu(HWND owner, HMENU menu);
using MenuChoiceFn = int (*)(HWND, HMENU);
void SetMenuChoiceForTesting(MenuChoiceFn fn);  // null restores the system's menu

inline void SetText(HWND control, const std::string& text) { common::SetWindowTextUtf8(control, text); }

}  // namespace mainwindow
