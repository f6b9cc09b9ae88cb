// What the preview shows for a clip, without Win32: the information line, the web-address test of
// that line, and the fit of a picture into the preview frame.
#pragma once

#include <string>

namespace mainwindow {

// The first `length` characters of text without their leading spaces: the head the address tests read.
std::string HeadWithoutLeadingSpaces(const std::string& text, std::size_t length);

// "http://", "https://", "<http:/" or "<https:/" (these two without a space), or "www."; leading spaces of
// the head do not count; case does.
bool LooksLikeWebAddress(const std::string& text);

// The text preview shows at most this much, in lines the control is quick with: text controls take
// seconds, even minutes, for one long line. A line is broken at its first space past kPreviewLineLength
// (where the box's own wrapping may break it too), or past kPreviewLongestLine anywhere: text without
// spaces has no better place. Line ends become CR LF so that the control breaks them.
const std::size_t kPreviewLimit = 8192;
const std::size_t kPreviewLineLength = 256;
const std::size_t kPreviewLongestLine = 1024;
std::string PreviewText(const std::string& text);

// How much of a clip's text is read to name its kind on the information line: a web address is shorter.
const std::size_t kInfoTextHead = 4096;
// The prefix for a clip of this kind whose preview text is text; "" for an unknown kind.
std::string InfoPrefix(const std::string& kind, const std::string& text);
// "<prefix> <position + 1> of <count>"
std::string InfoLine(const std::string& prefix, int position, int count);

// Where the preview image goes inside its frame. The frame is in twips and the picture in HIMETRIC;
// the numbers are combined as they are, in single precision, as the preview has always done.
struct ImageFit {
    float left, top, width, height;
    bool stretch;
};
ImageFit FitPicture(float frameWidth, float frameHeight, float pictureWidth, float pictureHeight);

}  // namespace mainwindow
