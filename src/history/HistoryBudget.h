// The history's memory budget: the bytes every clip holds, and the oldest clips let go when a new one
// brings the history over it.
#pragma once

#include <cstdint>

namespace history {

void SetHistoryBudget(std::uint64_t bytes);
std::uint64_t HistoryBudget();
// The bytes the clips hold together, as the budget counts them.
std::uint64_t HistoryBytes();
// Removes the oldest clips until the history fits; the newest stays.
void EvictOverBudget();

}  // namespace history
