// Starts the real Ardentia.exe, finds its window and closes it as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/win32_wait.h"

namespace {

std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchAppWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char caption[64] = "";
    GetWindowTextA(hwnd, caption, sizeof(caption));
    if (owner != search->pid || !IsWindowVisible(hwnd) || std::string(caption) != "Ardentia") return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindAppWindow(DWORD pid) {
    WindowSearch search = {pid, nullptr};
    EnumWindows(MatchAppWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(AppStart, ShowsCaptionedWindowAndExitsCleanlyOnClose) {
    std::string cmd = "\"" + WindowsPath(ARDENTIA_EXE) + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << cmd << " error " << GetLastError();
    HWND app = nullptr;
    EXPECT_TRUE(testsupport::PumpUntil([&] { return (app = FindAppWindow(pi.dwProcessId)) != nullptr; }, 15000));
    if (app) PostMessageA(app, WM_CLOSE, 0, 0);

    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &exitCode);
    else TerminateProcess(pi.hProcess, 1);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
