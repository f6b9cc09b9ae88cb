// How large one clip may be. The program is 32-bit: a few oversized clips, each held while it is read
// and again while it is written back, would exhaust its address space. A copy over the limit is not
// kept, and the user is told why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

const std::uint64_t kMaxClipBytes = 16ull << 20;         // text, rich-text markup, file lists
const std::uint64_t kMaxPicturePixels = 16ull * 1000 * 1000;  // about 4000 x 4000

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
std::string TooLargeForPicture(std::uint64_t width, std::uint64_t height);

// The fields of a device-independent bitmap's header that fix how many bytes its block must hold.
struct DibHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0, height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0, sizeImage = 0, colorsUsed = 0;
};

// Where the pixels start: after the header, the colour masks and the colour table.
std::uint64_t DibPixelOffset(const DibHeader& header);
// Header, colour table and pixels; saturates rather than wraps for absurd dimensions.
std::uint64_t DibBytesNeeded(const DibHeader& header);

// The pixel size a PNG's header states; false when the bytes do not start like a PNG.
bool PngSize(const std::string& png, std::uint64_t& width, std::uint64_t& height);

// Why a picture is not kept, or "": too large, or a block shorter than its header says (the system
// would read past the block to make a bitmap of it).
std::string PictureRefusal(std::uint64_t width, std::uint64_t height, bool complete);

}  // namespace capture
