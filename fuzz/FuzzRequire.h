// A broken promise ends the run, so libFuzzer keeps the input that broke it.
#pragma once

#include <cstdlib>

inline void Require(bool condition) {
    if (!condition) std::abort();
}
