// Program entry: loads the main window and runs the message loop until it closes.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstring>
#include <cwchar>

#include "common/Guarded.h"
#include "clipboard/PictureReaderProcess.h"
#include "mainwindow/MainWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // Started by itself to read one picture, the program does that alone.
    if (std::wcsstr(GetCommandLineW(), clipboard::kPictureReaderSwitch)) return clipboard::RunPictureReader();
    // The rich-text holders copy through the OLE clipboard.
    if (FAILED(OleInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        mainwindow::MainWindow form;
        wchar_t self[MAX_PATH] = {};
        if (GetModuleFileNameW(nullptr, self, MAX_PATH) < MAX_PATH) form.Monitor().Pictures().SetProgram(self);
        // A second start shows the running copy's window and ends; so does a window that cannot be made.
        if (!form.Load(true)) {
            // "/popup" asks the running copy for its history popup (a desktop shortcut on Linux, where Wine
            // sees global hotkeys only while one of its own windows has the focus); "/passphrase" for the
            // history folder's passphrase, to set it; "/settings" for the settings window.
            const bool popup = commandLine && std::strstr(commandLine, "/popup");
            const bool passphrase = commandLine && std::strstr(commandLine, "/passphrase");
            const bool settings = commandLine && std::strstr(commandLine, "/settings");
            if (mainwindow::AnotherInstanceRuns())
                mainwindow::ActivateRunningInstance(popup        ? mainwindow::kActivatePopup
                                                    : passphrase ? mainwindow::kActivatePassphrase
                                                    : settings   ? mainwindow::kActivateSettings
                                                                 : 0);
            OleUninitialize();
            return 0;
        }
        form.Show();
        MSG msg;
        // A Unicode loop: typed characters reach the Unicode windows whole, not through the ANSI code page.
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            // Ctrl+F searches from anywhere in the window.
            if (msg.message == WM_KEYDOWN && msg.wParam == 'F' && GetKeyState(VK_CONTROL) < 0 && form.hwnd() &&
                (msg.hwnd == form.hwnd() || IsChild(form.hwnd(), msg.hwnd))) {
                form.FocusSearch();
                continue;
            }
            // Tab and Shift+Tab walk the window's controls, as in any dialog.
            if (form.hwnd() && IsDialogMessageW(form.hwnd(), &msg)) continue;
            TranslateMessage(&msg);
            common::Guarded<LRESULT>([&] { return DispatchMessageW(&msg); }, 0);
        }
        exitCode = int(msg.wParam);
    }
    OleUninitialize();
    return exitCode;
}
