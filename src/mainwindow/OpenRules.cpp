#include "mainwindow/OpenRules.h"

#include <cctype>

#include "capture/ClipCollection.h"
#include "mainwindow/PreviewRules.h"

namespace mainwindow {

namespace {

// One trailing line end does not count: copying a whole line brings it along.
std::string WithoutTrailingLineEnd(const std::string& text) {
    std::string t = capture::TrimAtNull(text);
    if (!t.empty() && t.back() == '\n') t.pop_back();
    if (!t.empty() && t.back() == '\r') t.pop_back();
    return t;
}

bool StartsWith(const std::string& text, const char* head) { return text.rfind(head, 0) == 0; }

}  // namespace

bool IsWebAddressToOpen(const std::string& text) {
    const std::string t = WithoutTrailingLineEnd(text);
    if (t.find_first_of(" \t\r\n") != std::string::npos) return false;
    return StartsWith(t, "http://") || StartsWith(t, "https://") || StartsWith(t, "<http:/") ||
           StartsWith(t, "<https:/") || StartsWith(t, "www.");
}

std::string WebTarget(const std::string& address) {
    const std::string cut = WithoutTrailingLineEnd(address);
    if (cut.empty() || cut[0] != '<') return cut;
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

std::string FreeFileName(const std::string& folder, const std::string& stem, const std::string& extension,
                         bool (*exists)(const std::string&)) {
    std::string path = folder + stem + extension;
    for (int n = 2; exists(path) && n < 100000; ++n) path = folder + stem + " (" + std::to_string(n) + ")" + extension;
    return path;
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
