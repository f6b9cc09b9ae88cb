#include "mainwindow/Launch.h"

#include <windows.h>
#include <shellapi.h>

namespace mainwindow {

namespace {

void RealLaunch(bool openWith, const std::string& target) {
    if (openWith) {
        const std::string command = "rundll32 shell32.dll,OpenAs_RunDLL " + target;
        WinExec(command.c_str(), SW_SHOWNORMAL);
    } else {
        ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

LaunchFn gLaunch = RealLaunch;

}  // namespace

void SetLaunchForTesting(LaunchFn fn) { gLaunch = fn ? fn : RealLaunch; }
void OpenTarget(const std::string& target) { gLaunch(false, target); }
void OpenTargetWith(const std::string& target) { gLaunch(true, target); }

}  // namespace mainwindow
