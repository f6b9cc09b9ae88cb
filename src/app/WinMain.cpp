// Program entry: loads the main window and runs the message loop until it closes.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "mainwindow/Form1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The rich-text holders copy through the OLE clipboard.
    if (FAILED(OleInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        mainwindow::Form1 form;
        // A second start shows the running copy's window and ends; so does a window that cannot be made.
        if (!form.Load(true)) {
            if (mainwindow::AnotherInstanceRuns()) mainwindow::ActivateRunningInstance();
            OleUninitialize();
            return 0;
        }
        form.Show();
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            // Tab and Shift+Tab walk the window's controls, as in any dialog.
            if (form.hwnd() && IsDialogMessageA(form.hwnd(), &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        exitCode = int(msg.wParam);
    }
    OleUninitialize();
    return exitCode;
}
