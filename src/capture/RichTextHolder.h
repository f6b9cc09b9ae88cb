// A rich-text clip's holder: a hidden RichEdit control. Word-wrap is off, because wrapping makes
// loading long paragraphs take seconds.
#pragma once

#include <windows.h>

#include <string>

namespace capture {

class RichTextHolder {
public:
    RichTextHolder() = default;
    ~RichTextHolder();
    RichTextHolder(const RichTextHolder&) = delete;
    RichTextHolder& operator=(const RichTextHolder&) = delete;

    bool Create(HWND parent);
    HWND hwnd() const { return hwnd_; }

    bool SetMarkup(const std::string& rtf);  // replaces the content
    std::string Markup() const;
    std::string PlainText() const;
    std::string PlainTextHead(std::size_t characters) const;  // the first characters, without reading the rest
    void SelectAll();
    void Copy() const;                      // puts the selection on the clipboard in the box's formats
    bool SaveToFile(const std::string& path) const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace capture
