// Folder and file helpers of the main window. None reports an error: they return empty text or false.
#pragma once

#include <windows.h>

#include <string>

namespace shell {

const char kProductName[] = "Ardentia";

// The folder the program was started from, without a trailing backslash unless it is a drive root.
std::string ProgramFolder();

// The chosen file-system folder, or empty when the user cancels or the choice has no path.
std::string BrowseForFolder(HWND owner, const std::string& prompt);

// The user's desktop folder followed by "\". When the shell cannot name it: the user's documents
// folder, then the program folder.
std::string DefaultOutputFolder();

// The TEMP folder without a trailing backslash. Without a TEMP variable: the system's temporary
// folder, then the program folder, never the root of the current drive.
std::string TempFolder();

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

void SetApplicationTitle();
const std::string& ApplicationTitle();

}  // namespace shell
