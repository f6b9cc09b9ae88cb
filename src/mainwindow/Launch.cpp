#include "mainwindow/Launch.h"

#include <windows.h>
#include <shellapi.h>

#include "common/WindowText.h"

namespace mainwindow {

namespace {

void RealLaunch(bool openWith, const std::string& target) {
    if (openWith) {
        std::wstring command = L"rundll32 shell32.dll,OpenAs_RunDLL " + common::Widen(target);
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
