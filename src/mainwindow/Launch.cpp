#include "mainwindow/Launch.h"

#include <windows.h>
#include <shellapi.h>

#include "common/WindowText.h"

namespace mainwindow {

namespace {

void RealLaunch(bool openWith, const std::string& target) {
    if (openWith) {
        // By its full path: a rundll32 beside the program or in the current folder is never the one started.
        wchar_t system[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        std::wstring command = L"\"" + std::wstring(system, length) + L"\\rundll32.exe\" shell32.dll,OpenAs_RunDLL " +
                               common::Widen(target);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    } else {
        ShellExecuteW(nullptr, nullptr, common::Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

LaunchFn gLaunch = RealLaunch;

}  // namespace

void SetLaunchForTesting(LaunchFn fn) { gLaunch = fn ? fn : RealLaunch; }
void OpenTarget(const std::string& target) { gLaunch(false, target); }
void OpenTargetWith(const std::string& target) { gLaunch(true, target); }

}  // namespace mainwindow
