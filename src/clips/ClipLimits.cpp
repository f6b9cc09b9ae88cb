#include "clips/ClipLimits.h"

#include <cstdio>

namespace clips {

namespace {

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f MB", double(bytes) / double(1 << 20));
    return text;
}

}  // namespace

std::uint64_t MaxClipFileBytes(const std::string& kind) {
    const std::uint64_t overhead = 1ull << 20;
    if (kind == "PIC") return 2 * 4 * pictures::kMaxPicturePixels + 2 * kMaxClipBytes + overhead;
    return 2 * kMaxClipBytes + overhead;
}

std::uint64_t HistoryBudgetFromSetting(const std::string& megabytes) {
    if (megabytes.empty() || megabytes.size() > 4 || megabytes.find_first_not_of("0123456789") != std::string::npos)
        return kDefaultHistoryBudget;
    const std::uint64_t value = std::stoull(megabytes);
    return value >= 1 && value <= 3072 ? value << 20 : kDefaultHistoryBudget;
}

std::vector<std::size_t> ClipsToEvict(const std::vector<std::uint64_t>& oldestFirst, const std::vector<bool>& pinned,
                                      std::uint64_t budget) {
    std::uint64_t total = 0;
    for (std::uint64_t bytes : oldestFirst) total += bytes;
    std::vector<std::size_t> evicted;
    for (std::size_t i = 0; total > budget && i + 1 < oldestFirst.size(); ++i) {
        if (i < pinned.size() && pinned[i]) continue;
        total -= oldestFirst[i];
        evicted.push_back(i);
    }
    return evicted;
}

std::string TooLargeForBudget(std::uint64_t bytes, std::uint64_t budget) {
    if (bytes <= budget) return "";
    return "Not kept: the copy needs " + Megabytes(bytes) + ", more than the " + Megabytes(budget) +
           " the history may hold";
}

std::string TooLargeForText(std::uint64_t bytes) {
    if (bytes <= kMaxClipBytes) return "";
    return "Not kept: the copy holds " + Megabytes(bytes) + " of text, more than the " + Megabytes(kMaxClipBytes) +
           " a clip may hold";
}

}  // namespace clips
