// Rules for opening and saving clips as files, without Win32: the strict web-address test, the
// target of a bracketed address, and the names of the temporary and saved files.
#pragma once

#include <string>

namespace mainwindow {

// No space anywhere, and it starts with "http://", "<http:/" or "www." (leading spaces of the head
// do not count).
bool IsWebAddressToOpen(const std::string& text);
// A bracketed address loses its brackets (after a cut at its first NUL); others stay as they are.
std::string WebTarget(const std::string& address);

// "<folder>\TEMP<position><extension>"
std::string TempFilePath(const std::string& tempFolder, int position, const std::string& extension);
// True only for the names TempFilePath makes: "TEMP", digits, then ".TXT", ".RTF" or ".BMP".
bool IsOwnTempFileName(const std::string& name);

// The file extension that saving gives a clip kind ("" for an unknown kind), and for opening.
std::string SavedExtension(const std::string& kind);
std::string TempExtension(const std::string& kind);

}  // namespace mainwindow
