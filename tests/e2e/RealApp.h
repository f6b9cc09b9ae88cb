// The real Ardentia.exe seen from outside: starting it, finding its window and reading what it shows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/WindowText.h"

#include "support/win32_wait.h"

namespace realapp {

using testsupport::WindowsPath;

struct WindowSearch {
    DWORD pid;
    HWND found;
};

inline BOOL CALLBACK MatchAppWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char caption[64] = "";
    GetWindowTextA(hwnd, caption, sizeof(caption));
    if (owner != search->pid || !IsWindowVisible(hwnd) || std::string(caption) != "Ardentia") return TRUE;
    search->found = hwnd;
    return FALSE;
}

inline HWND FindAppWindow(DWORD pid) {
    WindowSearch search = {pid, nullptr};
    EnumWindows(MatchAppWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Started {
    PROCESS_INFORMATION pi{};
    bool ok = false;
    ~Started() {
        if (!ok) return;
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
};

// The program under test: the build's own, or an installed one named by ARDENTIA_EXE_PATH.
inline std::string ProgramPath() {
    char installed[MAX_PATH] = {};
    if (GetEnvironmentVariableA("ARDENTIA_EXE_PATH", installed, MAX_PATH)) return installed;
    return WindowsPath(ARDENTIA_EXE);
}

inline void Start(Started& app, const std::string& arguments = "") {
    std::string cmd = "\"" + ProgramPath() + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    app.ok = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &app.pi);
    ASSERT_TRUE(app.ok) << cmd << " error " << GetLastError();
}

inline DWORD ExitCodeWithin(Started& app, DWORD ms) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(app.pi.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(app.pi.hProcess, &code);
    return code;
}

inline BOOL CALLBACK CollectChild(HWND child, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(child);
    return TRUE;
}

// The first child window of parent for which match(child, its class name) holds.
template <typename Match>
HWND FindChild(HWND parent, Match match) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        char cls[64] = {};
        GetClassNameA(child, cls, sizeof(cls));
        if (match(child, std::string(cls))) return child;
    }
    return nullptr;
}

// The information line: the label that names a clip's place, a refusal or the empty list.
inline std::string InfoLine(HWND app) {
    auto isInfo = [](HWND child, const std::string&) {
        const std::string line = common::WindowText(child);
        return line.find(" - Item ") != std::string::npos || line.rfind("Not kept:", 0) == 0 ||
               line == "Nothing on Clipboard";
    };
    HWND line = FindChild(app, isInfo);
    return line ? common::WindowText(line) : "";
}

// Starts the program with the clipboard manager switched on and waits for its window.
// Where the program under test keeps its history: a folder of this test process's own. Wine numbers
// processes afresh in each prefix, so the time it started tells runs on one machine apart.
inline std::string HistoryFolder() {
    static const std::string folder = [] {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return "Z:\\tmp\\ardentia-e2e-history-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(now.QuadPart);
    }();
    return folder;
}

inline HWND StartWithManagerOn(Started& app) {
    HKEY settings = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Ardentia", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &settings, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(settings, "ClipboardSwitch", 0, REG_SZ, reinterpret_cast<const BYTE*>("On"), 3);
        // Every start begins with an empty history of its own.
        const std::string history = HistoryFolder();
        std::filesystem::remove_all(history);
        RegSetValueExA(settings, "History Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(history.c_str()),
                       DWORD(history.size() + 1));
        RegCloseKey(settings);
    }
    Start(app);
    HWND window = nullptr;
    testsupport::PumpUntil([&] { return (window = FindAppWindow(app.pi.dwProcessId)) != nullptr; }, testsupport::kPatientMs);
    return window;
}

}  // namespace realapp
