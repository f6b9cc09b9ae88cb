// What the main window says in its questions, notices and empty list, without Win32: each names what it
// is about (the clip, how many, where), in plain sentences.
#pragma once

#include <string>

namespace mainwindow {

// Delete the clip "Meeting notes: review the…"? (a long label cut, never inside a character)
std::string DeleteClipQuestion(const std::string& label);
// Delete all 12 clips? / Delete the 10 unpinned clips? The 2 pinned clips stay.
std::string DeleteAllQuestion(int clips, int pinned);
// 6 files written to C:\Users\me\Desktop\ — with the clips that could not be saved and the first reason.
std::string SaveReport(int written, const std::string& folder, int failed, const std::string& firstReason);
// The history going from one folder to another: what each answer does with its clips.
std::string FolderChangeQuestion(int clips, const std::string& from, const std::string& to);
// The list's words while it is empty, and its tip: how clips come, and how to use them again.
std::string EmptyListText(bool managerOn, const std::string& hotkey);
std::string ClipListTip(const std::string& hotkey);

}  // namespace mainwindow
