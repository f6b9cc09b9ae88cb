// The programs whose copies the user never wants kept (the setting "Ignore Programs": executable names
// separated by ";", such as "KeePass.exe; vault"). A copy is told by the program that owns the clipboard.
// Portable.
#pragma once

#include <string>
#include <vector>

namespace clipboard {

// The names, lower case, without spaces around them; empty entries dropped.
std::vector<std::string> ParseIgnoredPrograms(const std::string& setting);
// Whether the program at imagePath (a full path, either slash) is one of them: by its file name, with or
// without ".exe", in any case.
bool IsIgnoredProgram(const std::vector<std::string>& ignored, const std::string& imagePath);

}  // namespace clipboard
