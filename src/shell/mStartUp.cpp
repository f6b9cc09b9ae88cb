#include "shell/mStartUp.h"

#include <windows.h>

#include "shell/PathHelpers.h"
#include "shell/RegStuff.h"
#include "shell/StartupEntry.h"

namespace shell {

std::string FirstExecutableIn(const std::string& programFolder) {
    std::string pattern = programFolder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.exe";
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(pattern.c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return "";
    FindClose(listing);
    return found.cFileName;
}

void AddStartupEntryFor(const std::string& programFolder) {
    const std::string exe = FirstExecutableIn(programFolder);
    if (exe.empty()) return;
    SaveRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, exe, StartupEntryData(programFolder, exe), REG_SZ);
}

void RemoveStartupEntryFor(const std::string& programFolder) {
    const std::string exe = FirstExecutableIn(programFolder);
    if (exe.empty()) return;
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, exe);
}

void AddStartupEntry() { AddStartupEntryFor(ProgramFolder()); }
void RemoveStartupEntry() { RemoveStartupEntryFor(ProgramFolder()); }

}  // namespace shell
