// A copied file list (a DROPFILES block) read without trusting it: every name must end inside the block.
// The system's own reader follows the block's offset wherever it points.
#pragma once

#include <string>
#include <vector>

namespace clipboard {

struct DropNames {
    bool wide = false;               // names are UTF-16LE, two bytes a character
    std::vector<std::string> names;  // each name's bytes, without its terminator
};

// The names in the order given; a name the block cuts off, and everything after it, is left out.
DropNames ParseDropFiles(const std::string& block);

}  // namespace clipboard
