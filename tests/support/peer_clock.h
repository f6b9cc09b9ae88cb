// When another program's copy was made, in milliseconds of the performance counter, passed through a
// block both can map.
#pragma once

#include <windows.h>

namespace testsupport {

inline double CounterMs() {
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return double(count.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

inline const wchar_t kCopiedAtName[] = L"Local\\ArdentiaBenchCopiedAt";

// The shared block: creating it (the benchmark) or opening it (the peer); null when neither works.
inline volatile double* CopiedAt() {
    static volatile double* at = [] {
        HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(double), kCopiedAtName);
        return block ? static_cast<volatile double*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, sizeof(double))) : nullptr;
    }();
    return at;
}

inline void MarkCopiedNow() {
    if (volatile double* at = CopiedAt()) *at = CounterMs();
}

}  // namespace testsupport
