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
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeout_ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// How long a test waits for something that will happen: a busy two-core CI machine under two Wine builds may
// take many seconds where a quiet one takes milliseconds, and a wait that succeeds ends at once.
constexpr DWORD kPatientMs = 30000;

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
    // A Unix program has no Windows process, and Wine may then leave stray values in the handles: closing one
    // closed whatever handle had that number, this program's standard output among them. Only handles that
    // are the started thread and process are closed.
    if (pi.dwThreadId && GetThreadId(pi.hThread) == pi.dwThreadId) CloseHandle(pi.hThread);
    if (pi.dwProcessId && GetProcessId(pi.hProcess) == pi.dwProcessId) CloseHandle(pi.hProcess);
    return true;
}

inline bool ReadWholeFile(const std::string& path, std::string& out) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    out.assign(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    const bool ok = out.empty() || ReadFile(h, &out[0], DWORD(out.size()), &read, nullptr);
    CloseHandle(h);
    return ok && read == out.size();
}

// What a Unix command prints, through a file the test then reads; false when it gives nothing in time.
inline bool UnixOutput(const std::string& command, std::string& out, DWORD timeoutMs = kPatientMs) {
    const std::string file = "/tmp/ardentia_unix_out_" + std::to_string(GetCurrentProcessId());
    DeleteFileA(WindowsPath(file).c_str());
    RunUnixShell(command + " > " + file + ".part && mv " + file + ".part " + file);
    const std::string path = WindowsPath(file);
    if (!PumpUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs)) return false;
    const bool ok = ReadWholeFile(path, out);
    DeleteFileA(path.c_str());
    return ok;
}

// The X clipboard's bytes as an X program reads them (xclip -o).
inline bool ReadWithXclip(std::string& out, const std::string& target = "", DWORD timeoutMs = kPatientMs) {
    return UnixOutput("xclip -o -selection clipboard" + (target.empty() ? std::string() : " -t " + target), out, timeoutMs);
}

// Puts UTF-8 text on the X clipboard from outside Wine, as another program would. The bytes go through
// a file: a command line is ANSI on the way.
inline bool CopyUtf8WithXclip(const std::string& utf8) {
    static int serial = 0;
    const std::string file = "/tmp/ardentia_utf8_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    HANDLE h = CreateFileA(WindowsPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, utf8.data(), DWORD(utf8.size()), &written, nullptr);
    CloseHandle(h);
    return written == utf8.size() && RunUnixShell("xclip -selection clipboard -i " + file + "; rm -f " + file);
}

// Deletes every setting, the history keys with them (a registry key that holds keys is not deleted).
inline void ForgetSettings() {
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Ardentia\\History Keys");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Ardentia");
}

}  // namespace testsupport
