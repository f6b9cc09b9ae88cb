// Crashes at once: the runner must turn this into a prompt failure, never a crash dialog that waits.
#include <cstdio>

int main() {
    std::puts("crashing on purpose");
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 42;
    return 0;
}
