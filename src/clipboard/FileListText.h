// A copied file list as text, for the preview, the search and the paste into an editor.
#pragma once

#include <string>

namespace clipboard {

// The paths of a file list's block (CF_HDROP) in UTF-8, each followed by CR LF; "" when it names none.
std::string FileListText(const std::string& dropFiles);

}  // namespace clipboard
