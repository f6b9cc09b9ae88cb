#include "clips/RichTextHolder.h"

#include <richedit.h>

#include <cstring>

#include "common/Utf8.h"
#include "common/WindowText.h"

namespace clips {

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

bool StreamIn(HWND box, const std::string& rtf) {
    ReadSource source{&rtf, 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadFromString;
    SendMessageA(box, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

}  // namespace

bool MarkupReader::Create(HWND parent) {
    Destroy();
    static const HMODULE library = LoadLibraryA("riched20.dll");
    if (!library) return false;
    hwnd_ = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0,
                            100, 100, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    SendMessageA(hwnd_, EM_SETTARGETDEVICE, 0, 1);
    SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    return true;
}

void MarkupReader::Destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool MarkupReader::Read(const std::string& rtf, std::string& plain) {
    plain.clear();
    if (!hwnd_) return false;
    const bool whole = StreamIn(hwnd_, rtf);
    plain = common::WindowText(hwnd_);  // UTF-8 from the wide box
    SetWindowTextW(hwnd_, L"");
    return whole;
}

bool RichTextHolder::SetMarkup(const std::string& rtf) {
    if (rtf.empty()) {
        plain_.clear();
        return true;
    }
    return reader_ && reader_->Read(rtf, plain_);
}

std::string RichTextHolder::PlainTextHead(std::size_t characters) const {
    return common::Utf8Prefix(plain_, characters);
}

}  // namespace clips
