// Rules for opening and saving clips as files, without Win32: the strict web-address test, the
// target of a bracketed address, and the names of the temporary and saved files.
#pragma once

#include <string>

namespace mainwindow {

// One address and nothing else: "http://" or "https://" (perhaps in angle brackets) or "www.", then a
// host and a path of address characters with no "..", no backslash and no white space but one trailing line
// end. Anything else could be taken by the shell for a file to start.
bool IsWebAddressToOpen(const std::string& text);
// The address to open, with "http://" before a bare "www." (after a cut at its first NUL); "" when the text
// is not an address to open.
std::string WebTarget(const std::string& text);

// "<folder>\TEMP<position><extension>"
std::string TempFilePath(const std::string& tempFolder, int position, const std::string& extension);
// True only for the names TempFilePath makes: "TEMP", digits, then ".TXT", ".RTF" or ".BMP".
bool IsOwnTempFileName(const std::string& name);

// "<folder><stem><extension>", or the first of "<stem> (2)", "<stem> (3)", ... that does not exist yet.
std::string FreeFileName(const std::string& folder, const std::string& stem, const std::string& extension,
                         bool (*exists)(const std::string&));

// The file extension that saving gives a clip kind ("" for an unknown kind), and for opening.
std::string SavedExtension(const std::string& kind);
std::string TempExtension(const std::string& kind);

}  // namespace mainwindow
