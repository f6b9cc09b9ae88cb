#include "mainwindow/ErrorReportText.h"

namespace mainwindow {

std::string ErrorReportText(const std::string& description, const std::string& routine, int line) {
    return description + "\r\n" + "in Ardentix2016/11/03.Form1." + routine + " " + "at line " + std::to_string(line) +
           "\r\r" + "Please email screenshot of this message to " + kSupportAddress;
}

}  // namespace mainwindow
