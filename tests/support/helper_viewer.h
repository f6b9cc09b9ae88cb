// The helper viewer program (helper_viewer.cpp) started as another process: it joins the chain after
// whoever is there, and so stands ahead of them. The target that uses it defines HELPER_VIEWER_EXE.
#pragma once

#include <windows.h>

#include <string>

#include "support/win32_wait.h"

namespace testsupport {

struct HelperViewer {
    PROCESS_INFORMATION pi{};
    explicit HelperViewer(const char* mode) {
        std::string cmd = "\"" + WindowsPath(HELPER_VIEWER_EXE) + "\" " + mode;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    bool Joined(HWND behind) {
        return PumpUntil(
            [&] {
                HWND head = GetClipboardViewer();
                return head && head != behind;
            },
            10000);
    }
    void Kill() {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    ~HelperViewer() {
        if (pi.hProcess) {
            Kill();
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

}  // namespace testsupport
