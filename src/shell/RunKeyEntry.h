// The start-with-Windows entry: a value in the machine-wide Run key naming the running program (for
// another folder, the first "*.exe" its listing returns), or in the user's Run key where the machine-wide one may not be written. Other
// failures (no executable, no key at all) leave things as they are.
#pragma once

#include <string>

namespace shell {

void AddStartupEntry();
void RemoveStartupEntry();

// The same for a given program folder; the two above use the running program's folder.
void AddStartupEntryFor(const std::string& programFolder);
void RemoveStartupEntryFor(const std::string& programFolder);

// Whether the entry is in the machine-wide (either registry view) or the user's Run key.
bool StartupEntryPresent(const std::string& programFolder);

// The first name the listing of folder\*.exe returns, or empty.
std::string FirstExecutableIn(const std::string& programFolder);

}  // namespace shell
