#include "mainwindow/OpenRules.h"

#include <cctype>

#include "capture/ClipCollection.h"
#include "mainwindow/PreviewRules.h"

namespace mainwindow {

bool IsWebAddressToOpen(const std::string& text) {
    if (text.find(' ') != std::string::npos) return false;
    const std::string h = HeadWithoutLeadingSpaces(text, 7);
    return h == "http://" || h == "<http:/" || HeadWithoutLeadingSpaces(text, 4) == "www.";
}

std::string WebTarget(const std::string& address) {
    if (address.empty() || address[0] != '<') return address;
    const std::string cut = capture::TrimAtNull(address);
    return cut.size() < 2 ? "" : cut.substr(1, cut.size() - 2);
}

std::string TempFilePath(const std::string& tempFolder, int position, const std::string& extension) {
    return tempFolder + "\\TEMP" + std::to_string(position) + extension;
}

bool IsOwnTempFileName(const std::string& name) {
    if (name.size() < 9 || name.compare(0, 4, "TEMP") != 0) return false;
    const std::size_t dot = name.size() - 4;
    for (std::size_t i = 4; i < dot; ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    const std::string extension = name.substr(dot);
    return extension == ".TXT" || extension == ".RTF" || extension == ".BMP";
}

std::string SavedExtension(const std::string& kind) {
    if (kind == capture::kKindText || kind == capture::kKindFileList) return ".txt";
    if (kind == capture::kKindRichText) return ".rtf";
    if (kind == capture::kKindPicture) return ".bmp";
    return "";
}

std::string TempExtension(const std::string& kind) {
    if (kind == capture::kKindText || kind == capture::kKindFileList) return ".TXT";
    if (kind == capture::kKindRichText) return ".RTF";
    if (kind == capture::kKindPicture) return ".BMP";
    return "";
}

}  // namespace mainwindow
