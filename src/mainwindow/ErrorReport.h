// The main window's error report: runs the statements of a routine one by one, and when one fails
// shows "Application Error" naming the routine and the statement's number, then goes on with the next.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace mainwindow {

// Shows a message box; tests answer it through SetMessageBoxForTesting.
using MessageBoxFn = int (*)(HWND owner, const std::string& text, const std::string& title, UINT style);
void SetMessageBoxForTesting(MessageBoxFn fn);  // null restores the real message box
int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style);

class ErrorReport {
public:
    ErrorReport(HWND owner, std::string routine) : owner_(owner), routine_(std::move(routine)) {}
    // A report that shows only the error's text under its own title, with an OK button.
    static ErrorReport Bare(HWND owner, std::string title) {
        ErrorReport report(owner, std::move(title));
        report.bare_ = true;
        return report;
    }

    template <typename Statement>
    void operator()(int line, Statement statement) {
        try {
            statement();
        } catch (const std::exception& e) {
            Show(line, e.what());
        } catch (...) {
            Show(line, "Unexpected error");
        }
    }

private:
    void Show(int line, const std::string& description) const;

    HWND owner_;
    std::string routine_;  // the title of a bare report
    bool bare_ = false;
};

}  // namespace mainwindow
