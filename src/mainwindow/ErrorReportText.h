// The text of the main window's error report, for a failing statement of a routine.
#pragma once

#include <string>

namespace mainwindow {

const char kErrorReportTitle[] = "Application Error";
const char kSupportAddress[] = "support@ardentia.example";

std::string ErrorReportText(const std::string& description, const std::string& routine, int line);

}  // namespace mainwindow
