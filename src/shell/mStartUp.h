// The start-with-Windows entry: a value in the machine-wide Run key naming the first "*.exe" of the
// program folder. Failures (no rights to the machine-wide key, no executable) leave things as they are.
#pragma once

#include <string>

namespace shell {

void AddStartupEntry();
void RemoveStartupEntry();

// The same for a given program folder; the two above use the running program's folder.
void AddStartupEntryFor(const std::string& programFolder);
void RemoveStartupEntryFor(const std::string& programFolder);

// The first name the listing of folder\*.exe returns, or empty.
std::string FirstExecutableIn(const std::string& programFolder);

}  // namespace shell
