// Waiting helpers for Win32 tests: a test must keep processing messages while it waits, or another
// program's EmptyClipboard stalls on the WM_DESTROYCLIPBOARD it sends us.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

// Dispatches messages until done() is true or timeout_ms has passed; returns done().
template <typename Done>
bool PumpUntil(Done done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeout_ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// The path Wine gives a Unix path (its Z: drive is the Unix root).
inline std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

// Starts a Unix command line under /bin/sh (Wine runs Unix programs given by absolute path).
// There is no process handle to wait on: callers wait for the command's effect.
inline bool RunUnixShell(const std::string& script) {
    std::string cmd = "/bin/sh -c \"(" + script + ") </dev/null >/dev/null 2>&1\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return true;
}

// Puts text on the X clipboard from outside Wine, as another program would.
inline bool CopyWithXclip(const std::string& text) {
    return RunUnixShell("printf %s '" + text + "' | xclip -selection clipboard");
}

}  // namespace testsupport
