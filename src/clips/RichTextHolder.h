// A rich-text clip's plain text, as a RichEdit reads its markup (the markup itself is among the clip's kept
// formats). One hidden RichEdit reads for every holder, so that thousands of rich-text clips hold no window
// each: a process has a quota of window handles, and captures would start failing at it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace clips {

class MarkupReader {
public:
    MarkupReader() = default;
    ~MarkupReader() { Destroy(); }
    MarkupReader(const MarkupReader&) = delete;
    MarkupReader& operator=(const MarkupReader&) = delete;

    bool Create(HWND parent);  // a hidden child; word-wrap off, as wrapping makes long paragraphs take seconds
    void Destroy();
    // The plain text of rtf (UTF-8); false when the markup was not read whole (what could be read is given).
    // The box is emptied after: it holds nothing between reads.
    bool Read(const std::string& rtf, std::string& plain);

private:
    HWND hwnd_ = nullptr;
};

class RichTextHolder {
public:
    explicit RichTextHolder(MarkupReader* reader) : reader_(reader) {}

    bool SetMarkup(const std::string& rtf);  // replaces the plain text with what the reader reads of rtf
    const std::string& PlainText() const { return plain_; }
    std::string PlainTextHead(std::size_t characters) const;  // the first characters (code points)
    std::uint64_t Bytes() const { return plain_.size(); }

private:
    MarkupReader* reader_;
    std::string plain_;
};

}  // namespace clips
