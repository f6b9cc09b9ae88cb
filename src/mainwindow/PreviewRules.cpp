#include "mainwindow/PreviewRules.h"

#include <algorithm>

#include "clips/ClipCollection.h"
#include "common/Utf8.h"

namespace mainwindow {

std::string HeadWithoutLeadingSpaces(const std::string& text, std::size_t length) {
    const std::string head = text.substr(0, length);
    const auto first = head.find_first_not_of(' ');
    return first == std::string::npos ? "" : head.substr(first);
}

bool LooksLikeWebAddress(const std::string& text) {
    const std::string h = HeadWithoutLeadingSpaces(text, 7);
    if (h == "http://" || HeadWithoutLeadingSpaces(text, 8) == "https://") return true;
    if ((h == "<http:/" || HeadWithoutLeadingSpaces(text, 8) == "<https:/") && text.find(' ') == std::string::npos)
        return true;
    return HeadWithoutLeadingSpaces(text, 4) == "www.";
}

std::string InfoPrefix(const std::string& kind, const std::string& text) {
    if (kind == clips::kKindPicture) return "Picture Clip - Item";
    if (kind == clips::kKindFileList) return "Copy Files - Item";
    if (kind == clips::kKindText) return LooksLikeWebAddress(text) ? "Web Address - Item" : "Text Clip - Item";
    if (kind == clips::kKindRichText)
        return LooksLikeWebAddress(text) ? "Web Address - Item" : "Rich Text Clip - Item";
    return "";
}

std::string PreviewText(const std::string& text) {
    const auto continues = [&](std::size_t at) { return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; };
    std::string shown;
    shown.reserve(std::min(text.size(), kPreviewLimit) + 64);
    std::size_t taken = 0;
    std::size_t lineLength = 0;
    // Breaks and the cut fall between characters, never inside one.
    for (; taken < text.size() && (taken < kPreviewLimit || continues(taken)); ++taken) {
        const char c = text[taken];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && taken + 1 < text.size() && text[taken + 1] == '\n') ++taken;
            shown += "\r\n";
            lineLength = 0;
            continue;
        }
        if (lineLength >= kPreviewLongestLine && !continues(taken)) {
            shown += "\r\n";
            lineLength = 0;
        }
        shown += c;
        if (!continues(taken)) ++lineLength;
        if (c == ' ' && lineLength > kPreviewLineLength) {
            shown += "\r\n";
            lineLength = 0;
        }
    }
    if (taken < text.size())
        shown += "\r\n\r\n(The preview shows the start of this clip: " + std::to_string(common::CodePointCount(text)) +
                 " characters in all.)";
    return shown;
}

std::string InfoLine(const std::string& prefix, int position, int count) {
    return prefix + " " + std::to_string(position + 1) + " of " + std::to_string(count);
}

ImageFit FitPicture(float fw, float fh, float pw, float ph) {
    ImageFit fit{0, 0, pw, ph, false};
    if (fh <= ph || fw <= pw) {
        fit.stretch = true;
        if (pw <= ph) {
            fit.height = fh;
            fit.width = fit.width / (ph / fit.height);
            if (fw < fit.width) {
                fit.width = fw;
                fit.height = ph / (pw / fit.width);
            }
        } else {
            fit.width = fw;
            fit.height = fit.height / (pw / fit.width);
            if (fh < fit.height) {
                fit.height = fh;
                fit.width = pw / (ph / fit.height);
            }
        }
        fit.left = fw / 2 - fit.width / 2;
        fit.top = fh / 2 - fit.height / 2;
    } else {
        fit.top = (fh - ph) / 2 + 150;
        fit.left = (fw - pw) / 2 + 200;
    }
    return fit;
}

}  // namespace mainwindow
