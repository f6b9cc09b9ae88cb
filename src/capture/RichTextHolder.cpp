#include "capture/RichTextHolder.h"

#include <algorithm>

#include <richedit.h>

#include <cstdio>
#include <cstring>

#include "common/WindowText.h"

namespace capture {

namespace {

struct ReadSource {
    const std::string* text;
    std::size_t offset;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<ReadSource*>(cookie);
    const std::size_t left = source->text->size() - source->offset;
    const std::size_t n = left < std::size_t(wanted) ? left : std::size_t(wanted);
    std::memcpy(buffer, source->text->data() + source->offset, n);
    source->offset += n;
    *given = LONG(n);
    return 0;
}

DWORD CALLBACK AppendToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), std::size_t(count));
    *taken = count;
    return 0;
}

DWORD CALLBACK WriteToFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
    *taken = LONG(std::fwrite(buffer, 1, std::size_t(count), reinterpret_cast<std::FILE*>(cookie)));
    return *taken == count ? 0 : 1;
}

}  // namespace

RichTextHolder::~RichTextHolder() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool RichTextHolder::Create(HWND parent) {
    static const HMODULE library = LoadLibraryA("riched20.dll");
    if (!library) return false;
    hwnd_ = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0,
                            100, 100, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    SendMessageA(hwnd_, EM_SETTARGETDEVICE, 0, 1);
    SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    return true;
}

bool RichTextHolder::SetMarkup(const std::string& rtf) {
    ReadSource source{&rtf, 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadFromString;
    SendMessageA(hwnd_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

std::string RichTextHolder::Markup() const {
    std::string rtf;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    stream.pfnCallback = AppendToString;
    SendMessageA(hwnd_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return rtf;
}

std::string RichTextHolder::PlainText() const { return common::WindowText(hwnd_); }  // UTF-8 from the wide box

std::string RichTextHolder::PlainTextHead(std::size_t characters) const {
    const std::size_t length = std::size_t(std::max(GetWindowTextLengthW(hwnd_), 0));
    if (characters >= length) return PlainText();
    // Room for a surrogate pair at every character; the cut is made between characters.
    std::wstring text(std::min(characters * 2, length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(hwnd_, &text[0], int(text.size()))));
    return common::Utf8Prefix(common::Narrow(text), characters);
}

void RichTextHolder::SelectAll() {
    CHARRANGE range{0, -1};
    SendMessageA(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void RichTextHolder::Copy() const { SendMessageA(hwnd_, WM_COPY, 0, 0); }

bool RichTextHolder::SaveToFile(const std::string& path) const {
    std::FILE* file = _wfopen(common::Widen(path).c_str(), L"wb");
    if (!file) return false;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file);
    stream.pfnCallback = WriteToFile;
    SendMessageA(hwnd_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    const bool closed = std::fclose(file) == 0;
    return closed && stream.dwError == 0;
}

}  // namespace capture
