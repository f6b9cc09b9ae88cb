// The name under which the running program is known: message boxes without a title of their own show it.
#pragma once

#include <string>

namespace shell {

// Drops the last space and what follows it, at least once and again while the text is longer than 40
// characters. A name without a space has nothing to drop and stays whole.
std::string TrimApplicationTitle(const std::string& productName);

}  // namespace shell
