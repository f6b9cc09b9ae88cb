// No exception leaves a window procedure, a timer's callback or a thread: unwinding into the system's frames
// (or off a thread's end) ends the program. What threw is handed to the process's failure report, which
// the main window shows on its information line, and the program goes on.
#pragma once

#include <exception>
#include <string>

namespace common {

using FailureReport = void (*)(const std::string& what);
inline FailureReport& FailureReporter() {
    static FailureReport report = nullptr;
    return report;
}

inline void ReportFailure(const std::string& what) {
    if (FailureReporter()) FailureReporter()(what);
}

// Runs work and gives its result; when it throws, reports what and gives failed instead.
template <typename Result, typename Work>
Result Guarded(Work work, Result failed) {
    try {
        return work();
    } catch (const std::exception& error) {
        ReportFailure(error.what());
    } catch (...) {
        ReportFailure("an unknown error");
    }
    return failed;
}

}  // namespace common
