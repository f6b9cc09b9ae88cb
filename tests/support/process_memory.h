// The private memory of this process, as Windows counts it. Wine leaves PrivateUsage at 0 but keeps
// PagefileUsage, the same figure (its anonymous resident memory).
#pragma once

#include <windows.h>
#include <psapi.h>

namespace testsupport {

inline double PrivateMb() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return double(bytes) / (1024.0 * 1024.0);
}

}  // namespace testsupport
