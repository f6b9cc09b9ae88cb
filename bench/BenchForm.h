// The real main window as the benchmarks run it: COM and common controls ready, message boxes answered,
// the manager on, shown.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <filesystem>
#include <string>

#include "history/HistoryStore.h"
#include "mainwindow/ErrorReport.h"
#include "mainwindow/MainWindow.h"
#include "shell/SettingsStore.h"

inline int AnswerOk(HWND, const std::string&, const std::string&, UINT) { return IDOK; }

inline bool StartBenchForm(mainwindow::MainWindow& form) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    mainwindow::SetMessageBoxForTesting(AnswerOk);
    shell::SaveSetting(shell::kKeyClipboardSwitch, shell::kOn);
    std::filesystem::remove_all(
        history::DefaultHistoryFolder());  // the figures are for a history kept on disk from empty
    if (!form.Load(false)) return false;
    form.Show();
    return true;
}
