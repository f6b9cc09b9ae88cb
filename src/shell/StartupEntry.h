// Where the start-with-Windows entry lives and what it holds; the registry calls are in RunKeyEntry.
#pragma once

#include <string>

namespace shell {

const char kRunKeyPath[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";
// Query value, set value, create sub-key, enumerate sub-keys, notify, create link.
const unsigned long kRunKeyAccess = 63;

// The program folder and the executable's name joined by one backslash, in double quotes; no arguments.
std::string StartupEntryData(const std::string& programFolder, const std::string& exeName);

}  // namespace shell
