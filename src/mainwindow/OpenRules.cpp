#include "mainwindow/OpenRules.h"

#include <algorithm>
#include <cctype>

#include "clips/ClipCollection.h"
#include "mainwindow/PreviewRules.h"

namespace mainwindow {

namespace {

// One trailing line end does not count: copying a whole line brings it along.
std::string WithoutTrailingLineEnd(const std::string& text) {
    std::string t = clips::TrimAtNull(text);
    if (!t.empty() && t.back() == '\n') t.pop_back();
    if (!t.empty() && t.back() == '\r') t.pop_back();
    return t;
}

bool StartsWith(const std::string& text, const char* head) { return text.rfind(head, 0) == 0; }

bool IsHostCharacter(unsigned char c) { return std::isalnum(c) || c == '.' || c == '-' || c >= 0x80; }

// What may follow the host: the characters of an address, never a backslash, a quote or white space, which
// would make the shell look for a file.
bool IsAddressCharacter(unsigned char c) {
    if (c >= 0x80 || std::isalnum(c)) return true;
    static const std::string allowed = "-._~%:/?#[]@!$&'()*+,;=";
    return allowed.find(char(c)) != std::string::npos;
}

// host[:port][/path][?query][#fragment], the host made of labels, no ".." step anywhere in the path.
bool IsHostAndPath(const std::string& rest) {
    const std::size_t hostEnd = std::min(rest.find_first_of("/?#"), rest.size());
    std::string host = rest.substr(0, hostEnd);
    const std::size_t colon = host.find(':');
    if (colon != std::string::npos) {
        const std::string port = host.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return false;
        host.resize(colon);
    }
    if (host.empty() || host.front() == '.' || host.front() == '-' || host.find("..") != std::string::npos)
        return false;
    for (unsigned char c : host)
        if (!IsHostCharacter(c)) return false;
    const std::string path = rest.substr(hostEnd);
    for (unsigned char c : path)
        if (!IsAddressCharacter(c)) return false;
    const std::string steps = "/" + path.substr(0, std::min(path.find_first_of("?#"), path.size())) + "/";
    return steps.find("/../") == std::string::npos && steps.find("/./") == std::string::npos;
}

}  // namespace

std::string WebTarget(const std::string& text) {
    std::string t = WithoutTrailingLineEnd(text);
    const bool bracketed = !t.empty() && t.front() == '<';
    if (bracketed) {
        if (t.size() < 2 || t.back() != '>') return "";
        t = t.substr(1, t.size() - 2);
    }
    for (const char* scheme : {"http://", "https://"})
        if (StartsWith(t, scheme)) return IsHostAndPath(t.substr(std::string(scheme).size())) ? t : "";
    // Without its scheme the shell would take it for a file name: it opens as the address it names.
    if (!bracketed && StartsWith(t, "www.") && t.size() > 4 && IsHostAndPath(t)) return "http://" + t;
    return "";
}

bool IsWebAddressToOpen(const std::string& text) { return !WebTarget(text).empty(); }

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
    if (kind == clips::kKindText || kind == clips::kKindFileList) return ".txt";
    if (kind == clips::kKindRichText) return ".rtf";
    if (kind == clips::kKindPicture) return ".bmp";
    return "";
}

std::string TempExtension(const std::string& kind) {
    if (kind == clips::kKindText || kind == clips::kKindFileList) return ".TXT";
    if (kind == clips::kKindRichText) return ".RTF";
    if (kind == clips::kKindPicture) return ".BMP";
    return "";
}

}  // namespace mainwindow
