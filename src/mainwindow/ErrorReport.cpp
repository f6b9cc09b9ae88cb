#include "mainwindow/ErrorReport.h"

#include "common/WindowText.h"
#include "mainwindow/ErrorReportText.h"

namespace mainwindow {

namespace {

int RealMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
    return MessageBoxW(owner, common::Widen(text).c_str(), common::Widen(title).c_str(), style);
}

MessageBoxFn gMessageBox = RealMessageBox;

}  // namespace

void SetMessageBoxForTesting(MessageBoxFn fn) { gMessageBox = fn ? fn : RealMessageBox; }

int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
    return gMessageBox(owner, text, title, style);
}

void ErrorReport::Show(int line, const std::string& description) const {
    if (bare_) {
        ShowMessageBox(owner_, description, routine_, MB_OK);
        return;
    }
    ShowMessageBox(owner_, ErrorReportText(description, routine_, line), kErrorReportTitle, MB_ICONEXCLAMATION);
}

}  // namespace mainwindow
