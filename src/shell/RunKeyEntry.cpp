#include "shell/RunKeyEntry.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "common/WindowText.h"
#include "shell/PathHelpers.h"
#include "shell/RegistryValues.h"
#include "shell/StartupEntry.h"

namespace shell {

std::string FirstExecutableIn(const std::string& programFolder) {
    std::string pattern = programFolder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.exe";
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW(common::Widen(pattern).c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return "";
    FindClose(listing);
    return common::Narrow(std::wstring(found.cFileName));
}

// A standard user may not write the machine-wide key; the same value then goes under the user's own
// Run key, so that a ticked box always means the program starts with Windows.
namespace {

// The running program names itself; the folder listing decides only for another folder. Installed, the
// folder also holds the uninstaller, and the listing order is the file system's: it may come first.
std::string ExecutableFor(const std::string& programFolder) {
    wchar_t path[MAX_PATH + 1] = {};
    const std::string self = common::Narrow(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    const auto slash = self.find_last_of('\\');
    if (slash != std::string::npos && ProgramFolder() == programFolder) return self.substr(slash + 1);
    return FirstExecutableIn(programFolder);
}

// On 64-bit Windows the machine-wide key has a 64-bit and a 32-bit view, and each build writes the view
// of its own kind. A value an earlier build left in the other view is found, replaced and removed too:
// otherwise the program would start twice, or go on starting after the box was cleared.
const REGSAM kOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
const REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// The machine-wide views to look in: on 32-bit Windows both flags name the one key there is.
std::vector<REGSAM> MachineViews() {
    BOOL wow64 = FALSE;
    if (sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64)) return {kOwnView, kOtherView};
    return {kOwnView};
}

}  // namespace

void AddStartupEntryFor(const std::string& programFolder) {
    const std::string exe = ExecutableFor(programFolder);
    if (exe.empty()) return;
    const std::string data = StartupEntryData(programFolder, exe);
    if (SaveRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, exe, data, REG_SZ, kOwnView) == ERROR_SUCCESS) {
        // One entry, or the program starts twice.
        if (MachineViews().size() > 1) DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, exe, kOtherView);
        DeleteRegistryValue(HKEY_CURRENT_USER, kRunKeyPath, exe);
        return;
    }
    HKEY userRun = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &userRun, nullptr) !=
        ERROR_SUCCESS)
        return;
    WriteRegistryValue(userRun, exe, REG_SZ, data);
    RegCloseKey(userRun);
}

void RemoveStartupEntryFor(const std::string& programFolder) {
    const std::string exe = ExecutableFor(programFolder);
    if (exe.empty()) return;
    for (REGSAM view : MachineViews()) DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, exe, view);
    DeleteRegistryValue(HKEY_CURRENT_USER, kRunKeyPath, exe);
}

bool StartupEntryPresent(const std::string& programFolder) {
    const std::string exe = ExecutableFor(programFolder);
    if (exe.empty()) return false;
    std::vector<std::pair<HKEY, REGSAM>> places = {{HKEY_CURRENT_USER, 0}};
    for (REGSAM view : MachineViews()) places.emplace_back(HKEY_LOCAL_MACHINE, view);
    for (const auto& [hive, view] : places) {
        HKEY run = nullptr;
        if (RegOpenKeyExA(hive, kRunKeyPath, 0, KEY_QUERY_VALUE | view, &run) != ERROR_SUCCESS) continue;
        const bool found =
            RegQueryValueExW(run, common::Widen(exe).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(run);
        if (found) return true;
    }
    return false;
}

void AddStartupEntry() { AddStartupEntryFor(ProgramFolder()); }
void RemoveStartupEntry() { RemoveStartupEntryFor(ProgramFolder()); }

}  // namespace shell
