// Starts the real Ardentia.exe as a user would: it captures a copy, refuses a second instance and closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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
std::string ProgramPath() {
    char installed[MAX_PATH] = {};
    if (GetEnvironmentVariableA("ARDENTIA_EXE_PATH", installed, MAX_PATH)) return installed;
    return WindowsPath(ARDENTIA_EXE);
}

void Start(Started& app) {
    std::string cmd = "\"" + ProgramPath() + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    app.ok = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &app.pi);
    ASSERT_TRUE(app.ok) << cmd << " error " << GetLastError();
}

DWORD ExitCodeWithin(Started& app, DWORD ms) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(app.pi.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(app.pi.hProcess, &code);
    return code;
}

BOOL CALLBACK FindInfoLine(HWND child, LPARAM lp) {
    char text[128] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (std::string(text).find(" - Item ") != std::string::npos) {
        *reinterpret_cast<std::string*>(lp) = text;
        return FALSE;
    }
    return TRUE;
}

std::string InfoLine(HWND app) {
    std::string line;
    EnumChildWindows(app, FindInfoLine, reinterpret_cast<LPARAM>(&line));
    return line;
}

// A copy made on the X side becomes the first clip of the real program; a second start leaves quietly.
TEST(AppStart, CapturesACopyRefusesASecondInstanceAndClosesCleanly) {
    HKEY settings = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Ardentia", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &settings, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(settings, "ClipboardSwitch", 0, REG_SZ, reinterpret_cast<const BYTE*>("On"), 3);
    RegCloseKey(settings);

    Started app;
    Start(app);
    HWND window = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return (window = FindAppWindow(app.pi.dwProcessId)) != nullptr; }, 15000));

    ASSERT_TRUE(testsupport::CopyWithXclip("copied while Ardentia runs"));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return InfoLine(window) == "Text Clip - Item 1 of 1"; }, 10000))
        << InfoLine(window);

    Started second;
    Start(second);
    EXPECT_EQ(ExitCodeWithin(second, 10000), 0u);
    EXPECT_EQ(FindAppWindow(second.pi.dwProcessId), nullptr);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeWithin(app, 10000), 0u);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Ardentia");
}

std::string VersionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
    return std::string(value);
}

TEST(AppResources, VersionAndIconAreInTheProgram) {
    const std::string exe = ProgramPath();
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, DWORD(info.size()), info.data()));
    EXPECT_EQ(VersionString(info, "ProductName"), "Ardentia");
    EXPECT_EQ(VersionString(info, "CompanyName"), "Kestrovan");
    EXPECT_EQ(VersionString(info, "FileVersion"), ARDENTIA_VERSION);
    EXPECT_EQ(VersionString(info, "ProductVersion"), ARDENTIA_VERSION);

    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon) << size;
        ICONINFO parts = {};
        ASSERT_TRUE(GetIconInfo(icon, &parts));
        BITMAP colour = {};
        GetObject(parts.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(colour.bmWidth, size);
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(module);
}

}  // namespace
