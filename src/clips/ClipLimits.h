// How large one clip may be. The program is 32-bit: a few oversized clips, each held while it is read
// and again while it is written back, would exhaust its address space. A copy over the limit is not
// kept, and the user is told why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/PictureLimits.h"

namespace clips {

const std::uint64_t kMaxClipBytes = 16ull << 20;         // text, rich-text markup, file lists

// What the whole history may hold, unless the settings say otherwise: text, kept formats, pictures as held.
const std::uint64_t kDefaultHistoryBudget = 256ull << 20;

// The longest clip file of a kind that the capture could have written (its text as UTF-16 and what it kept, a
// picture's pixels as PNG at worst): a longer one is not ours, and is never read whole.
std::uint64_t MaxClipFileBytes(const std::string& kind);

// The budget a stored setting asks for, in whole megabytes (1 to 3072); the default for anything else.
std::uint64_t HistoryBudgetFromSetting(const std::string& megabytes);
// Which clips (sizes given oldest first, the newest last) must go for the rest to fit the budget, oldest
// first. The newest never goes (a copy larger than the budget is refused before it is stored), nor a
// pinned one, even when the pinned alone pass the budget.
std::vector<std::size_t> ClipsToEvict(const std::vector<std::uint64_t>& oldestFirst, const std::vector<bool>& pinned,
                                      std::uint64_t budget);
std::string TooLargeForBudget(std::uint64_t bytes, std::uint64_t budget);

// The message for the information line when a copy is too large, or "" when it may be kept.
std::string TooLargeForText(std::uint64_t bytes);

}  // namespace clips
