// Starting the program that opens a clip: the system's association, or its "Open with" dialog.
#pragma once

#include <string>

namespace mainwindow {

void OpenTarget(const std::string& target);      // ShellExecuteW, normal window
void OpenTargetWith(const std::string& target);  // rundll32 shell32.dll,OpenAs_RunDLL <target>

// Tests record what would be started instead; null restores the real launch.
using LaunchFn = void (*)(bool openWith, const std::string& target);
void SetLaunchForTesting(LaunchFn fn);

}  // namespace mainwindow
