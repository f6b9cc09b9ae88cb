#include "capture/ClipboardRewrite.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "capture/ClipboardAccess.h"
#include "capture/ClipboardMonitor.h"
#include "capture/mClip.h"
#include "cliplist/ucClipList.h"
#include "common/DoEvents.h"

namespace capture {

void FileListToText(HWND owner) {
    std::string paths;
    if (OpenClipboardRetrying(owner)) {
        if (HDROP files = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
            const UINT count = DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                const UINT length = DragQueryFileA(files, i, nullptr, 0);
                if (length == 0) continue;
                std::vector<char> buffer(length + 1, ' ');
                if (DragQueryFileA(files, i, buffer.data(), length + 1) > 0)
                    paths += TrimAtNull(std::string(buffer.data(), buffer.size())) + "\r\n";
            }
        }
        CloseClipboard();
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
