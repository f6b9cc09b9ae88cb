#include "capture/ClipboardRewrite.h"

#include <cstring>
#include <string>
#include <vector>

#include "capture/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "capture/DropFiles.h"
#include "capture/mClip.h"
#include "cliplist/ucClipList.h"
#include "common/DoEvents.h"

namespace capture {

void FileListToText(HWND owner) {
    std::string paths;
    if (const auto block = ReadClipboardBytes(owner, CF_HDROP)) {
        const DropNames list = ParseDropFiles(*block);
        for (const std::string& name : list.names) {
            if (!list.wide) {
                paths += name + "\r\n";
                continue;
            }
            std::wstring wide(name.size() / 2, L'\0');
            std::memcpy(&wide[0], name.data(), wide.size() * sizeof(wchar_t));
            const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
            std::string narrow(std::size_t(length), '\0');
            WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), &narrow[0], length, nullptr, nullptr);
            paths += narrow + "\r\n";
        }
    }
    WriteClipboardText(owner, paths);
}

namespace {

void WriteClipBack(HWND window, const std::string& tag) {
    const std::string kind = TagKind(tag);
    const std::int16_t index = TagHolderIndex(tag);
    if (kind == kKindPicture) {
        if (HBITMAP picture = Holders().Picture(index))
            WriteClipboardBitmap(window, picture);
        else
            EmptyTheClipboard(window);
    } else if (kind == kKindText) {
        const std::string* text = Holders().Text(index);
        WriteClipboardText(window, text ? *text : "");
    } else if (kind == kKindRichText) {
        EmptyTheClipboard(window);
        if (RichTextHolder* box = Holders().RichText(index)) {
            box->SelectAll();
            box->Copy();
        }
    }
    // A file list is already on the clipboard as the text it was turned into.
}

}  // namespace

DWORD RepostCurrentClip(DWORD readSequence) {
    CaptureHost* host = Host();
    if (!host) return readSequence;
    const int current = host->ClipList().Model().ListIndex();
    const std::string tag = ClipTags().Tag(current < 0 ? 0 : current);
    HWND window = host->MainWindow();
    SetSelfWrite(true);
    SetCaptureSuppressed(true);
    LeaveChain(window);
    common::DoEvents();
    DWORD left = readSequence;
    if (GetClipboardSequenceNumber() == readSequence) {
        try {
            WriteClipBack(window, tag);
        } catch (...) {
            // The write is lost; rejoining the chain below matters more.
        }
        left = GetClipboardSequenceNumber();
    }
    JoinChain(window);
    common::DoEvents();
    SetSelfWrite(false);
    return left;
}

}  // namespace capture
